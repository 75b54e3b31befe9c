#pragma once
// Fuzz targets: each takes any bytes and checks what must hold for them. A
// broken promise goes to Fail: under the fuzzer it prints and aborts, so the
// input is kept as a crash; in the replay tests it throws.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orv::fuzz {

[[noreturn]] void Fail(const std::string& what);
inline void Require(bool ok, const std::string& what) {
    if (!ok) Fail(what);
}
void ThrowOnFailure();  // for the replay tests

// Values read off the fuzzer's bytes; past the end everything reads as zero.
class Bytes {
  public:
    Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    uint8_t U8() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
    uint32_t U32() { return U16() | uint32_t(U16()) << 16; }
    uint64_t U64() { return U32() | uint64_t(U32()) << 32; }
    float F32() { return std::bit_cast<float>(U32()); }
    double F64() { return std::bit_cast<double>(U64()); }
    // A text of up to maxLength bytes: a length byte pair, then the bytes.
    std::string Text(std::size_t maxLength) {
        std::size_t n = U16() % (maxLength + 1);
        std::string s;
        while (n-- > 0 && at_ < size_) s += static_cast<char>(data_[at_++]);
        return s;
    }
    bool empty() const { return at_ >= size_; }

  private:
    const uint8_t* data_;
    std::size_t size_, at_ = 0;
};

void FuzzDib(const uint8_t* data, std::size_t size);
void FuzzFormatCodes(const uint8_t* data, std::size_t size);
void FuzzSettings(const uint8_t* data, std::size_t size);
void FuzzEncoders(const uint8_t* data, std::size_t size);
void FuzzPageLayout(const uint8_t* data, std::size_t size);

struct Target {
    const char* name;  // also the folder of its seeds and reproducers
    void (*run)(const uint8_t*, std::size_t);
};
// clang-format off
inline constexpr Target kTargets[] = {
    {"dib", FuzzDib},           {"format_codes", FuzzFormatCodes}, {"settings", FuzzSettings},
    {"encoders", FuzzEncoders}, {"page_layout", FuzzPageLayout},
};
// clang-format on

}  // namespace orv::fuzz
