// The pointer, anywhere on the virtual screen.
#include "drive.h"

namespace drive {

// cursor X Y: puts the pointer at a screen position (negative left of or
// above the primary monitor).
int CmdCursor(const Args& args) {
    std::vector<int> v;
    if (args.size() != 2 || !ParseInts(args, 0, 2, v)) return Usage();
    if (!SetCursorPos(v[0], v[1])) return Fail("SetCursorPos");
    POINT p{};
    if (!GetCursorPos(&p)) return Fail("GetCursorPos");
    Out("cursor " + std::to_string(p.x) + " " + std::to_string(p.y));
    return kOk;
}

}  // namespace drive
