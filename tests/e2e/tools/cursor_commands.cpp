// The pointer, anywhere on the virtual screen.
#include <cstdlib>

#include "drive.h"

namespace drive {
// cursor X Y: puts the pointer at a screen position (negative left of or
// above the primary monitor).
int CmdCursor(const Args& args) {
    if (args.size() != 2) return Usage();
    int v[2] = {};
    for (size_t i = 0; i < 2; ++i) {
        char* end = nullptr;
        v[i] = static_cast<int>(std::strtol(args[i].c_str(), &end, 10));
        if (!end || *end != '\0' || args[i].empty()) return Usage();
    }
    if (!SetCursorPos(v[0], v[1])) return Fail("SetCursorPos");
    POINT p{};
    if (!GetCursorPos(&p)) return Fail("GetCursorPos");
    Out("cursor " + std::to_string(p.x) + " " + std::to_string(p.y));
    return kOk;
}

}  // namespace drive
