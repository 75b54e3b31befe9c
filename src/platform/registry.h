#pragma once
// Registry access as the Win32 calls offer it. Each call opens and closes its
// key; the portable layer above (vbreg) adds the program's own rules.
#include <cstdint>
#include <optional>
#include <string>

namespace orv::platform {

enum class RegRoot { CurrentUser, LocalMachine };

struct RegQueryResult {
    long status = 0;   // 0 = ERROR_SUCCESS, else a system error code
    std::string data;  // the bytes as reported, terminator included
};

// REG_DWORD data as a query returns it: four bytes, least significant first.
// Any other length is not a DWORD (text, or a value of another type).
inline std::optional<uint32_t> DwordData(const std::string& data) {
    if (data.size() != 4) return std::nullopt;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(data[i]);
    return v;
}

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens with query access and reads the value into a buffer of bufferSize
    // characters (UTF-16 units, as the W call reads text; bytes for other
    // types). Data larger than the buffer fails (ERROR_MORE_DATA). Text comes
    // back as UTF-8.
    virtual RegQueryResult QueryValue(RegRoot root, const std::string& path,
                                      const std::string& name, std::size_t bufferSize) = 0;
    // Opens or creates the key, writes REG_SZ data (text plus its NUL).
    virtual long SetValue(RegRoot root, const std::string& path, const std::string& name,
                          const std::string& text) = 0;
    // Opens or creates the key, writes REG_DWORD data.
    virtual long SetDwordValue(RegRoot root, const std::string& path, const std::string& name,
                               uint32_t value) = 0;
    // Opens or creates the key, deletes the value (missing value: failure).
    virtual long DeleteValue(RegRoot root, const std::string& path, const std::string& name) = 0;
};

}  // namespace orv::platform
