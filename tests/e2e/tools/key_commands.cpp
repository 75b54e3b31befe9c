// Synthesised keys go through the system input stream, as a user's would.
#include <cctype>
#include <map>

#include "drive.h"

namespace drive {
namespace {

bool KeyCode(const std::string& name, BYTE& vk) {
    static const std::map<std::string, BYTE> names = {
        {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB},     {"SPACE", VK_SPACE},
        {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},
        {"ALT", VK_MENU},      {"MENU", VK_MENU},     {"SHIFT", VK_SHIFT}, {"CONTROL", VK_CONTROL},
        {"SNAPSHOT", VK_SNAPSHOT}};
    std::string upper;
    for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (auto it = names.find(upper); it != names.end()) {
        vk = it->second;
        return true;
    }
    if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0]))) {
        vk = static_cast<BYTE>(upper[0]);  // letters and digits are their own key codes
        return true;
    }
    unsigned long long f = 0;
    if (upper.size() >= 2 && upper[0] == 'F' && ParseNumber(upper.substr(1), f) && f >= 1 && f <= 24) {
        vk = static_cast<BYTE>(VK_F1 + f - 1);
        return true;
    }
    unsigned long long code = 0;
    if (ParseNumber(name, code) && code > 0 && code < 256) {
        vk = static_cast<BYTE>(code);
        return true;
    }
    return false;
}

}  // namespace

int CmdKeys(const Args& args) {
    const char* usage = "keys TOKEN... (VK tap, +VK down, -VK up)";
    if (args.empty()) return Usage(usage);
    struct Event {
        BYTE vk;
        bool down, up;
    };
    std::vector<Event> events;
    for (const std::string& token : args) {
        const bool down = token.size() > 1 && token[0] == '+';
        const bool up = token.size() > 1 && token[0] == '-';
        BYTE vk = 0;
        if (!KeyCode((down || up) ? token.substr(1) : token, vk)) return Usage(usage);
        events.push_back({vk, !up, !down});
    }
    for (const Event& e : events) {
        // A short gap lets the receiving thread see each transition; a menu
        // loop, for one, reads them from its queue one by one.
        if (e.down) keybd_event(e.vk, 0, 0, 0);
        if (e.down && e.up) Sleep(30);
        if (e.up) keybd_event(e.vk, 0, KEYEVENTF_KEYUP, 0);
        Sleep(30);
    }
    return kOk;
}

}  // namespace drive
