#pragma once
// A registry tree for both roots: keys and value names compare without regard
// to case, writes to a root or to one key can be refused (as a standard
// account finds the machine-wide keys), and raw data can be planted.
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/registry.h"

namespace orv::sim {

class SimRegistry : public platform::Registry {
  public:
    platform::RegQueryResult QueryValue(platform::RegRoot root, const std::string& path,
                                        const std::string& name, std::size_t bufferSize) override;
    long SetValue(platform::RegRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override;
    long SetDwordValue(platform::RegRoot root, const std::string& path, const std::string& name,
                       uint32_t value) override;
    long DeleteValue(platform::RegRoot root, const std::string& path,
                     const std::string& name) override;

    // Test side.
    void Put(platform::RegRoot root, const std::string& path, const std::string& name,
             const std::string& text);  // REG_SZ with its NUL
    void PutRaw(platform::RegRoot root, const std::string& path, const std::string& name,
                const std::string& bytes);  // exact data, no terminator added
    std::optional<std::string> Get(platform::RegRoot root, const std::string& path,
                                   const std::string& name) const;  // text without its NUL
    std::size_t ValueCount(platform::RegRoot root, const std::string& path) const;
    void RefuseWrites(platform::RegRoot root, bool refuse) { refuse_[Index(root)] = refuse; }
    // Refuses writes and deletes in one key (access is granted per key, not per value).
    void RefuseKeyWrites(platform::RegRoot root, const std::string& path);
    int writes() const { return writes_; }

  private:
    struct Value {
        std::string name;  // as first written
        std::string data;  // raw bytes
    };
    using Key = std::map<std::string, Value>;  // lower-cased name -> value
    static int Index(platform::RegRoot root) { return root == platform::RegRoot::LocalMachine; }
    static std::string Normal(const std::string& path);
    const Key* Find(platform::RegRoot root, const std::string& path) const;
    bool Refused(platform::RegRoot root, const std::string& path) const;

    std::map<std::string, Key> roots_[2];
    bool refuse_[2] = {false, false};
    std::set<std::string> refusedKeys_[2];  // normalised paths
    int writes_ = 0;
};

}  // namespace orv::sim
