#include "platform/sim/sim_files.h"

#include "platform/error.h"
#include "platform/strings.h"

namespace orv::sim {
namespace {

Error PathNotFound() {
    return Error(3, "The system cannot find the path specified.");
}
Error FileNotFound() {
    return Error(2, "The system cannot find the file specified.");
}
Error AccessDenied() {
    return Error(5, "Access is denied.");
}
Error SharingViolation() {
    return Error(32,
                 "The process cannot access the file because it is being used by another process.");
}
Error BadName() {
    return Error(123, "The filename, directory name, or volume label syntax is incorrect.");
}

// DOS device names live in every folder and keep their meaning with any
// extension; "¹²³" count as digits, written in either common encoding.
bool IsDevice(std::string base) {
    while (!base.empty() && base.back() == ' ') base.pop_back();
    base = ToLower(base);
    static const std::set<std::string> kPlain = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    if (kPlain.count(base)) return true;
    if (base.size() < 4 || (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0))
        return false;
    const std::string tail = base.substr(3);
    static const std::set<std::string> kDigits = {
        "0", "1", "2",    "3",    "4",    "5",        "6",        "7",
        "8", "9", "\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    return kDigits.count(tail) > 0;
}

}  // namespace

SimFiles::SimFiles(platform::Clock& clock) : clock_(clock) {
    AddFolder("C:\\");
}

std::string SimFiles::Key(const std::string& path) {
    return ToLower(path);
}

void SimFiles::AddFolder(const std::string& folder) {
    std::string f = Key(folder);
    if (f.empty() || (f.back() != '\\' && f.back() != '/')) f += '\\';
    folders_.insert(f);
}

void SimFiles::LockFolder(const std::string& folder) {
    AddFolder(folder);
    std::string f = Key(folder);
    if (f.back() != '\\' && f.back() != '/') f += '\\';
    locked_.insert(f);
}

void SimFiles::HoldOpen(const std::string& path, double seconds) {
    heldUntil_[Key(path)] = clock_.MonotonicSeconds() + seconds;
}

bool SimFiles::Held(const std::string& key) const {
    auto it = heldUntil_.find(key);
    return it != heldUntil_.end() && it->second > clock_.MonotonicSeconds();
}

SimFiles::Target SimFiles::Resolve(const std::string& given) const {
    if (given.empty()) throw PathNotFound();
    // Windows turns '/' into '\\' first; a path under \\.\ then names a device, and
    // \\?\ passes the rest on as it is.
    std::string path = given;
    for (char& c : path)
        if (c == '/') c = '\\';
    if (path.rfind("\\\\.\\", 0) == 0) {
        Target t;
        t.kind = Target::Device;
        return t;
    }
    if (path.rfind("\\\\?\\", 0) == 0) path.erase(0, 4);
    const bool letter =
        !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const std::size_t drive = letter && path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t nameAt = slash == std::string::npos ? drive : slash + 1;
    const std::string folder = path.substr(0, nameAt);
    std::string name = path.substr(nameAt);
    for (std::size_t i = drive; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || std::string("<>\"|?*").find(path[i]) != std::string::npos) throw BadName();
        if (c == ':' && i < nameAt) throw BadName();
    }
    Target t;
    if (auto colon = name.find(':'); colon != std::string::npos) {
        t.stream = name.substr(colon + 1);
        name.erase(colon);
        if (!t.stream.empty()) t.kind = Target::Stream;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) throw BadName();
    if (IsDevice(name.substr(0, name.find('.')))) {
        t.kind = Target::Device;
        return t;
    }
    if (!folders_.count(Key(folder.empty() ? std::string("C:\\") : folder))) throw PathNotFound();
    t.shown = folder + name;
    t.key = Key(t.shown);
    return t;
}

void SimFiles::Store(const Target& t, const std::vector<uint8_t>& bytes, bool created) {
    auto& file = files_[t.key];
    if (file.first.empty()) file.first = t.shown;
    if (t.kind == Target::Stream)
        streams_[t.key + ":" + ToLower(t.stream)] = bytes;
    else
        file.second = bytes;
    if (created && scanSeconds_ > 0) heldUntil_[t.key] = clock_.MonotonicSeconds() + scanSeconds_;
}

void SimFiles::Fail(Step step, const Target& t) {
    int& left = failures_[step];
    if (left <= 0) return;
    --left;
    if (step != Step::Replace) Store(t, {}, !files_.count(t.key));
    throw Error(112, "There is not enough space on the disk.");
}

void SimFiles::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const Target t = Resolve(path);
    if (t.kind == Target::Device) {
        deviceBytes_ += bytes.size();
        return;
    }
    const bool exists = files_.count(t.key) > 0;
    if (locked_.count(Key(path.substr(0, path.find_last_of("\\/") + 1))) || readOnly_.count(t.key))
        throw AccessDenied();
    if (exists && Held(t.key)) throw SharingViolation();
    Fail(Step::Write, t);
    Store(t, bytes, !exists);
}

void SimFiles::WritePieces(const std::string& path, const platform::FilePieces& pieces) {
    WriteFile(path, platform::JoinPieces(pieces));
}

void SimFiles::CreateNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const Target t = Resolve(path);
    if (t.kind == Target::Device) {
        deviceBytes_ += bytes.size();
        return;
    }
    if (locked_.count(Key(path.substr(0, path.find_last_of("\\/") + 1)))) throw AccessDenied();
    const bool exists = t.kind == Target::Stream
                            ? streams_.count(t.key + ":" + ToLower(t.stream)) > 0
                            : files_.count(t.key) > 0;
    if (exists) throw Error(80, "The file exists.");
    Fail(Step::Create, t);
    Store(t, bytes, !files_.count(t.key));
}

void SimFiles::MoveReplacing(const std::string& source, const std::string& target) {
    const Target s = Resolve(source);
    auto from = files_.find(s.key);
    if (s.kind != Target::File || from == files_.end()) throw FileNotFound();
    const Target t = Resolve(target);
    Fail(Step::Replace, t);
    if (Held(s.key)) throw SharingViolation();
    if (t.kind == Target::Device) throw AccessDenied();
    if (locked_.count(Key(target.substr(0, target.find_last_of("\\/") + 1)))) throw AccessDenied();
    if (files_.count(t.key) && (readOnly_.count(t.key) || Held(t.key))) throw AccessDenied();
    std::vector<uint8_t> bytes = std::move(from->second.second);
    files_.erase(from);
    heldUntil_.erase(s.key);
    if (t.kind == Target::Stream) {
        Store(t, bytes, false);
        return;
    }
    files_[t.key] = {t.shown, std::move(bytes)};
}

bool SimFiles::RemoveFile(const std::string& path) {
    Target t;
    try {
        t = Resolve(path);
    } catch (const Error&) {
        return false;
    }
    if (t.kind == Target::Device || readOnly_.count(t.key) || Held(t.key)) return false;
    if (t.kind == Target::Stream) return streams_.erase(t.key + ":" + ToLower(t.stream)) > 0;
    return files_.erase(t.key) > 0;
}

std::optional<std::vector<uint8_t>> SimFiles::Read(const std::string& path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second.second;
}

std::optional<std::string> SimFiles::ReadText(const std::string& path) const {
    auto b = Read(path);
    if (!b) return std::nullopt;
    return std::string(b->begin(), b->end());
}

std::vector<std::string> SimFiles::List() const {
    std::vector<std::string> names;
    for (const auto& [k, v] : files_) names.push_back(v.first);
    return names;
}

}  // namespace orv::sim
