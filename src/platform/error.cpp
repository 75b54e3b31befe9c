#include "platform/error.h"

#include <cstdio>

namespace orv {
namespace err {
Error InvalidCall() { return Error(kInvalidCall, "Invalid procedure call or argument"); }
Error Overflow() { return Error(kOverflow, "Overflow"); }
Error OutOfMemory() { return Error(kOutOfMemory, "Out of memory"); }
Error DivisionByZero() { return Error(kDivisionByZero, "Division by zero"); }
Error TypeMismatch() { return Error(kTypeMismatch, "Type mismatch"); }
Error BadFileName() { return Error(kBadFileName, "Bad file name or number"); }
Error Cancelled() { return Error(kCancel, "Cancel was selected."); }
}  // namespace err

std::string HexNumber(long number) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<uint32_t>(number)));
    return buf;
}

}  // namespace orv
