// orvdrive: one subcommand per call, so a test reads as a list of steps.
#include <cstdio>
#include <map>

#include "drive.h"

namespace {

struct Command {
    int (*run)(const drive::Args&);
    const char* usage;
};

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = {
        {"find-window", {drive::CmdFindWindow,
                         "find-window [--class C] [--title T] [--pid P] [--visible] [--timeout S]"}},
        {"wait-gone", {drive::CmdWaitGone, "wait-gone HWND [--timeout S]"}},
        {"windows", {drive::CmdWindows, "windows [--all] [--pid P]"}},
        {"watch-windows", {drive::CmdWatchWindows, "watch-windows --ready FILE --stop FILE [--pid P] [--texts] [--timeout S]"}},
        {"children", {drive::CmdChildren, "children HWND"}},
        {"set-text", {drive::CmdSetText, "set-text HWND CONTROL-ID TEXT"}},
        {"post", {drive::CmdPost, "post HWND MSG WPARAM LPARAM"}},
        {"keys", {drive::CmdKeys, "keys TOKEN... (VK tap, +VK down, -VK up; VK: 0x2C, 44, A, F10, RETURN ...)"}},
        {"key-window", {drive::CmdKeyWindow, "key-window --ready FILE --log FILE --stop FILE"}},
        {"clip-put", {drive::CmdClipPut, "clip-put FILE.bmp [--ddb]"}},
        {"clip-dump", {drive::CmdClipDump, "clip-dump FILE.bmp"}},
        {"snapshot-key", {drive::CmdSnapshotKey, "snapshot-key FILE.bmp --ready FILE --stop FILE [--alt FILE.bmp]"}},
        {"msgbox", {drive::CmdMsgBox, "msgbox [--title T] [--timeout S]"}},
        {"press", {drive::CmdPress, "press HWND BUTTON (caption without '&' or control id)"}},
        {"install-printer", {drive::CmdInstallPrinter, "install-printer NAME PPD-FILE-NAME PORT"}},
        {"print-test", {drive::CmdPrintTest, "print-test TEXT"}},
        {"printer-caps", {drive::CmdPrinterCaps, "printer-caps portrait|landscape [POINTS...]"}},
        {"launch", {drive::CmdLaunch, "launch EXE TAIL [--timeout S]"}},
        {"dialog", {drive::CmdDialog, "dialog HWND STEP... (tab=ID:I click=ID choose=ID:I type=ID:T spin=ID:up[:N] show=ID ...)"}},
        {"reg-put", {drive::CmdRegPut, "reg-put KEY NAME=TEXT..."}},
        {"tray", {drive::CmdTray, "tray [--count N --timeout S]"}},
        {"drag", {drive::CmdDrag, "drag HWND X1 Y1 X2 Y2 (client coordinates)"}},
        {"right-click", {drive::CmdRightClick, "right-click HWND X Y (client coordinates)"}},
        {"pick-menu", {drive::CmdPickMenu, "pick-menu KEY... [--timeout S]"}},
        {"controls", {drive::CmdControls, "controls HWND"}},
        {"choose", {drive::CmdChoose, "choose HWND ID TEXT (combo box entry)"}},
        {"placement", {drive::CmdPlacement, "placement HWND"}},
        {"move", {drive::CmdMove, "move HWND X Y WIDTH HEIGHT"}},
        {"hold", {drive::CmdHold, "hold FILE --ready FILE --stop FILE [--timeout S] (open, sharing nothing)"}},
        {"monitors", {drive::CmdMonitors, "monitors"}},
        {"cursor", {drive::CmdCursor, "cursor X Y (screen pixels)"}},
        {"reg", {drive::CmdReg, "reg get KEY NAME | reg set KEY NAME DATA [NAME DATA...] | reg delete KEY [KEY...] | reg unset KEY NAME | reg list KEY"}},
    };
    return commands;
}

}  // namespace

int main(int argc, char** argv) {
    const auto& commands = Commands();
    if (argc < 2 || commands.find(argv[1]) == commands.end()) {
        std::fprintf(stderr, "usage: orvdrive COMMAND ...\n");
        for (const auto& [name, command] : commands) std::fprintf(stderr, "  %s\n", command.usage);
        return drive::kFailed;
    }
    // Screen positions and window rectangles in real pixels at any scale,
    // as the program (which is DPI aware) sees them.
    SetProcessDPIAware();  // fails only when the awareness was set already
    drive::Args args(argv + 2, argv + argc);
    return commands.at(argv[1]).run(args);
}
