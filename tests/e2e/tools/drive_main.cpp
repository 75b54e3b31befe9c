// orvdrive: one subcommand per call, so a test reads as a list of steps.
#include <windows.h>
// windows.h first: shellapi.h needs its types
#include <shellapi.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "drive.h"

namespace {

struct Command {
    int (*run)(const drive::Args&);
    const char* usage;
};

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = {
        {"find-window",
         {drive::CmdFindWindow,
          "find-window [--class C] [--title T] [--pid P] [--visible] [--timeout S]"}},
        {"wait-gone", {drive::CmdWaitGone, "wait-gone HWND [--timeout S]"}},
        {"windows", {drive::CmdWindows, "windows [--all] [--pid P]"}},
        {"watch-windows",
         {drive::CmdWatchWindows,
          "watch-windows --ready FILE --stop FILE [--pid P] [--timeout S]"}},
        {"set-text", {drive::CmdSetText, "set-text HWND CONTROL-ID TEXT"}},
        {"post", {drive::CmdPost, "post HWND MSG WPARAM LPARAM"}},
        {"end-session", {drive::CmdEndSession, "end-session HWND [--close-app] [--timeout S]"}},
        {"keys", {drive::CmdKeys, "keys KEY... (0x2C, 44, A, F10, RETURN ...)"}},
        {"key-window",
         {drive::CmdKeyWindow,
          "key-window --ready FILE --log FILE --stop FILE [--picture FILE.bmp X Y]"}},
        {"clip-put", {drive::CmdClipPut, "clip-put FILE.bmp"}},
        {"clip-dump", {drive::CmdClipDump, "clip-dump FILE.bmp"}},
        {"clip-formats", {drive::CmdClipFormats, "clip-formats"}},
        {"snapshot-key",
         {drive::CmdSnapshotKey,
          "snapshot-key FILE.bmp --ready FILE --stop FILE [--alt FILE.bmp] [--dib]"}},
        {"msgbox", {drive::CmdMsgBox, "msgbox [--title T] [--timeout S]"}},
        {"press", {drive::CmdPress, "press HWND BUTTON (caption without '&', control name or id)"}},
        {"install-printer", {drive::CmdInstallPrinter, "install-printer NAME PPD-FILE-NAME PORT"}},
        {"printer-caps", {drive::CmdPrinterCaps, "printer-caps portrait|landscape [POINTS...]"}},
        {"launch", {drive::CmdLaunch, "launch EXE TAIL [--timeout S]"}},
        {"dialog",
         {drive::CmdDialog,
          "dialog HWND STEP... (ID: a control id or name; tab=ID:I click=ID post-click=ID "
          "choose=ID:I choose-text=ID:T "
          "type=ID:T "
          "spin=ID:up|down[:N] show=ID focus rect placement move=X:Y[:W:H] redraw)"}},
        {"tray", {drive::CmdTray, "tray [--count N --timeout S]"}},
        {"drag", {drive::CmdDrag, "drag HWND X1 Y1 X2 Y2 (client coordinates)"}},
        {"drag-paint",
         {drive::CmdDragPaint,
          "drag-paint HWND X Y X1 Y1 X2 Y2 N (client coordinates; time per move)"}},
        {"right-click", {drive::CmdRightClick, "right-click HWND X Y (client coordinates)"}},
        {"pick-menu", {drive::CmdPickMenu, "pick-menu KEY... [--timeout S]"}},
        {"controls", {drive::CmdControls, "controls HWND"}},
        {"hold",
         {drive::CmdHold,
          "hold FILE --ready FILE --stop FILE [--timeout S] (open, sharing nothing)"}},
        {"note", {drive::CmdNote, "note FILE ARG... (writes the arguments, one a line)"}},
        {"cursor", {drive::CmdCursor, "cursor X Y (screen pixels)"}},
        {"process-stats", {drive::CmdProcessStats, "process-stats PID"}},
        {"clip-hold", {drive::CmdClipHold, "clip-hold SECONDS --ready FILE"}},
        {"delete-printer", {drive::CmdDeletePrinter, "delete-printer NAME"}},
        {"serve", {nullptr, "serve (then one command a line, arguments separated by tabs)"}},
        {"reg",
         {drive::CmdReg,
          "reg set KEY NAME DATA [NAME DATA...] | reg dword KEY NAME N | reg delete KEY [KEY...] | "
          "reg unset KEY NAME | reg list KEY"}},
    };
    return commands;
}

// Runs one command; a call it cannot read is answered with its usage line.
int Run(const Command& command, const drive::Args& args) {
    const int code = command.run(args);
    if (code != drive::kBadUsage) return code;
    std::fprintf(stderr, "usage: orvdrive %s\n", command.usage);
    return drive::kFailed;
}

}  // namespace

// serve: runs one command per line of standard input (arguments separated by
// tabs) and ends each command's output with "end CODE": a long run pays for
// one process start instead of one per step.
int Serve() {
    const auto& commands = Commands();
    char line[8192];
    while (std::fgets(line, sizeof line, stdin)) {
        drive::Args args;
        std::string current;
        for (const char* c = line; *c && *c != '\n' && *c != '\r'; ++c) {
            if (*c == '\t') {
                args.push_back(current);
                current.clear();
            } else {
                current += *c;
            }
        }
        args.push_back(current);
        auto found = commands.find(args[0]);
        int code = drive::kFailed;
        if (found != commands.end() && found->first != "serve")
            code = Run(found->second, drive::Args(args.begin() + 1, args.end()));
        drive::Out("end " + std::to_string(code));
    }
    return drive::kOk;
}

int main() {
    // The arguments as the caller wrote them: argv would pass them through the
    // process's code page and turn Japanese into '?'.
    int argc = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!wide) return drive::kFailed;
    std::vector<std::string> argv;
    for (int i = 0; i < argc; ++i) argv.push_back(drive::Utf8(wide[i]));
    LocalFree(wide);
    // Screen positions and window rectangles in real pixels at any scale,
    // as the program (which is DPI aware) sees them.
    SetProcessDPIAware();  // fails only when the awareness was set already
    if (argc == 2 && argv[1] == "serve") return Serve();
    const auto& commands = Commands();
    if (argc < 2 || commands.find(argv[1]) == commands.end()) {
        std::fprintf(stderr, "usage: orvdrive COMMAND ...\n");
        for (const auto& [name, command] : commands) std::fprintf(stderr, "  %s\n", command.usage);
        return drive::kFailed;
    }
    return Run(commands.at(argv[1]), drive::Args(argv.begin() + 2, argv.end()));
}
