// Synthesised keys go through the system input stream, as a user's would.
#include <cctype>
#include <cstdlib>
#include <map>

#include "drive.h"

namespace drive {
namespace {

bool KeyCode(const std::string& name, BYTE& vk) {
    // clang-format off
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
    // clang-format on
    if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0]))) {
        vk = static_cast<BYTE>(upper[0]);  // letters and digits are their own key codes
        return true;
    }
    unsigned long long f = 0;
    if (upper.size() >= 2 && upper[0] == 'F' && ParseNumber(upper.substr(1), f) && f >= 1 &&
        f <= 24) {
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

std::FILE* keyLog = nullptr;

std::vector<char> picture;  // a packed DIB the window shows, one pixel per pixel

LRESULT CALLBACK KeyWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && keyLog) {
        std::fprintf(keyLog, "%u\n", static_cast<unsigned>(wp));
        std::fflush(keyLog);
    }
    if (msg == WM_PAINT && !picture.empty()) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.data());
        const int height = std::abs(info->bmiHeader.biHeight);
        SetDIBitsToDevice(dc, 0, 0, info->bmiHeader.biWidth, height, 0, 0, 0, height,
                          picture.data() + sizeof(BITMAPINFOHEADER), info, DIB_RGB_COLORS);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

// A window in front that writes the virtual key of every key press it gets,
// one decimal number a line, until the stop file appears. With --picture, a
// borderless window at X Y (screen pixels) that shows the picture.
int CmdKeyWindow(const Args& args) {
    const Options o = Parse(args, {});
    const std::string ready = o.Get("ready"), log = o.Get("log"), stop = o.Get("stop");
    if (ready.empty() || log.empty() || stop.empty()) return Usage();
    int x = 100, y = 100, width = 300, height = 200;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    if (o.Has("picture")) {
        if (!LoadDib(o.Get("picture"), picture)) return Fail("not a 24/32-bit BMP");
        const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(picture.data());
        width = header.biWidth, height = std::abs(header.biHeight);
        std::vector<int> at;
        if (!ParseInts(o.positional, 0, 2, at)) return Usage();
        x = at[0], y = at[1];
        style = WS_POPUP | WS_VISIBLE;
    }
    keyLog = _wfopen(Wide(log).c_str(), L"w");
    if (!keyLog) return Fail("cannot create " + log);
    WNDCLASSW wc{};
    wc.lpfnWndProc = KeyWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvdriveKeyWindow";
    if (!RegisterClassW(&wc)) return Fail("RegisterClass");
    HWND h = CreateWindowExW(0, wc.lpszClassName, L"Key Window", style, x, y, width, height,
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (!h) return Fail("CreateWindow");
    SetForegroundWindow(h);
    SetFocus(h);
    const bool focused = WaitFor(5, [&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return GetForegroundWindow() == h;
    });
    if (!focused) return Fail("the window did not come to the front");
    if (!Touch(ready)) return Fail("cannot create " + ready);
    while (!FileExists(stop)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(h);
    std::fclose(keyLog);
    return kOk;
}

int CmdKeys(const Args& args) {
    std::vector<BYTE> keys(args.size());
    for (size_t i = 0; i < args.size(); ++i)
        if (!KeyCode(args[i], keys[i])) return Usage();
    if (keys.empty()) return Usage();
    for (BYTE vk : keys) {
        // A short gap lets the receiving thread see each transition; a menu
        // loop, for one, reads them from its queue one by one.
        keybd_event(vk, 0, 0, 0);
        Sleep(30);
        keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        Sleep(30);
    }
    return kOk;
}

}  // namespace drive
