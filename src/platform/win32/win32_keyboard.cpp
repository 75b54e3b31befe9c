#include "platform/win32/win32_keyboard.h"

#include <windows.h>

namespace orv::win32 {

int16_t Win32Keyboard::GetAsyncKeyState(int vk) {
    return ::GetAsyncKeyState(vk);
}

void Win32Keyboard::KeybdEvent(uint8_t vk, uint32_t flags) {
    ::keybd_event(vk, 0, flags, 0);
}

bool Win32Keyboard::RegisterHotKey(platform::WindowId window, int id, int vk) {
    // No MOD_NOREPEAT: a held key repeats, and a held key captures again.
    return ::RegisterHotKey(reinterpret_cast<HWND>(window), id, 0, static_cast<UINT>(vk)) != FALSE;
}

void Win32Keyboard::UnregisterHotKey(platform::WindowId window, int id) {
    // Fails only for a key that was not registered; nothing is left to undo then.
    if (!::UnregisterHotKey(reinterpret_cast<HWND>(window), id)) return;
}

}  // namespace orv::win32
