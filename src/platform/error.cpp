#include "platform/error.h"

#include <cstdio>
#include <new>

namespace orv {
namespace err {
Error InvalidCall() {
    return Error(kInvalidCall, "Invalid procedure call or argument");
}
Error Overflow() {
    return Error(kOverflow, "Overflow");
}
Error OutOfMemory() {
    return Error(kOutOfMemory, "Out of memory");
}
Error DivisionByZero() {
    return Error(kDivisionByZero, "Division by zero");
}
Error TypeMismatch() {
    return Error(kTypeMismatch, "Type mismatch");
}
Error BadFileName() {
    return Error(kBadFileName, "Bad file name or number");
}
Error Cancelled() {
    return Error(kCancel, "Cancel was selected.");
}
Error PrinterError() {
    return Error(kPrinterError, "Printer error");
}
}  // namespace err

Error ToError(const std::exception& e) {
    if (auto* own = dynamic_cast<const Error*>(&e)) return *own;
    if (dynamic_cast<const std::bad_alloc*>(&e)) return err::OutOfMemory();
    return Error(err::kInternal, std::string("Internal error: ") + e.what());
}

std::string StagedText(const std::string& stage, const Error& e) {
    const std::string detail = e.description() + " " + HexNumber(e.number());
    return stage.empty() ? detail : stage + "\r\n" + detail;
}

std::string HexNumber(long number) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<uint32_t>(number)));
    return buf;
}

}  // namespace orv
