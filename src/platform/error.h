#pragma once
// The one error type of the program: a number and a description, as the
// message boxes show them. Thrown inside a routine, caught at its boundary.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace orv {

class Error : public std::runtime_error {
  public:
    Error(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    long number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    long number_;
    std::string description_;
};

// Numbers users of Basic-style programs know.
namespace err {
constexpr long kInvalidCall = 5;
constexpr long kOverflow = 6;
constexpr long kOutOfMemory = 7;
constexpr long kDivisionByZero = 11;
constexpr long kTypeMismatch = 13;
constexpr long kInternal = 51;
constexpr long kBadFileName = 52;
constexpr long kPrinterError = 482;
constexpr long kCancel = 32755;
Error InvalidCall();
Error Overflow();
Error OutOfMemory();
Error DivisionByZero();
Error TypeMismatch();
Error BadFileName();
Error Cancelled();
Error PrinterError();
}  // namespace err

// Error number in upper-case hex, negative numbers as 32-bit two's complement.
std::string HexNumber(long number);

// Whatever a handler caught, as the program's error: its own as it is,
// exhausted memory as error 7, anything else as an internal error 51.
Error ToError(const std::exception& e);
// The staged box's text: the stage on its own line (when there is one), then
// the description and the number in hex.
std::string StagedText(const std::string& stage, const Error& e);

}  // namespace orv
