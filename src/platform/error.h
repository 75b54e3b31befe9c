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
constexpr long kCancel = 32755;
Error InvalidCall();
Error Overflow();
Error OutOfMemory();
Error DivisionByZero();
Error TypeMismatch();
Error BadFileName();
Error Cancelled();
}  // namespace err

// Error number in upper-case hex, negative numbers as 32-bit two's complement.
std::string HexNumber(long number);

}  // namespace orv
