#include "platform/sim/sim_registry.h"

#include "platform/strings.h"

namespace orv::sim {
namespace {
constexpr long kSuccess = 0, kFileNotFound = 2, kAccessDenied = 5, kMoreData = 234;
}

std::string SimRegistry::Normal(const std::string& path) {
    std::string p = ToLower(path);
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

const SimRegistry::Key* SimRegistry::Find(platform::RegRoot root, const std::string& path) const {
    auto it = roots_[Index(root)].find(Normal(path));
    return it == roots_[Index(root)].end() ? nullptr : &it->second;
}

platform::RegQueryResult SimRegistry::QueryValue(platform::RegRoot root, const std::string& path,
                                                 const std::string& name, std::size_t bufferSize) {
    const Key* key = Find(root, path);
    if (!key) return {kFileNotFound, {}};
    auto it = key->find(ToLower(name));
    if (it == key->end()) return {kFileNotFound, {}};
    if (Utf16Length(it->second.data) > bufferSize)
        return {kMoreData, {}};  // every value here is text
    return {kSuccess, it->second.data};
}

long SimRegistry::SetValue(platform::RegRoot root, const std::string& path, const std::string& name,
                           const std::string& text) {
    if (Refused(root, path)) return kAccessDenied;
    ++writes_;
    Put(root, path, name, text);
    return kSuccess;
}

long SimRegistry::SetDwordValue(platform::RegRoot root, const std::string& path,
                                const std::string& name, uint32_t value) {
    if (refuse_[Index(root)]) return kAccessDenied;
    ++writes_;
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i) & 0xFF);
    PutRaw(root, path, name, bytes);
    return kSuccess;
}

long SimRegistry::DeleteValue(platform::RegRoot root, const std::string& path,
                              const std::string& name) {
    if (Refused(root, path)) return kAccessDenied;
    Key& key = roots_[Index(root)][Normal(path)];  // opened "creating it if missing"
    return key.erase(ToLower(name)) ? kSuccess : kFileNotFound;
}

void SimRegistry::RefuseKeyWrites(platform::RegRoot root, const std::string& path) {
    refusedKeys_[Index(root)].insert(Normal(path));
}

bool SimRegistry::Refused(platform::RegRoot root, const std::string& path) const {
    const int i = Index(root);
    return refuse_[i] || refusedKeys_[i].count(Normal(path)) > 0;
}

void SimRegistry::Put(platform::RegRoot root, const std::string& path, const std::string& name,
                      const std::string& text) {
    PutRaw(root, path, name, text + '\0');
}

void SimRegistry::PutRaw(platform::RegRoot root, const std::string& path, const std::string& name,
                         const std::string& bytes) {
    Key& key = roots_[Index(root)][Normal(path)];
    auto& v = key[ToLower(name)];
    if (v.name.empty()) v.name = name;
    v.data = bytes;
}

std::optional<std::string> SimRegistry::Get(platform::RegRoot root, const std::string& path,
                                            const std::string& name) const {
    const Key* key = Find(root, path);
    if (!key) return std::nullopt;
    auto it = key->find(ToLower(name));
    if (it == key->end()) return std::nullopt;
    std::string d = it->second.data;
    if (!d.empty() && d.back() == '\0') d.pop_back();
    return d;
}

std::size_t SimRegistry::ValueCount(platform::RegRoot root, const std::string& path) const {
    const Key* key = Find(root, path);
    return key ? key->size() : 0;
}

}  // namespace orv::sim
