#include "platform/win32/win32_keyboard.h"

#include <windows.h>

namespace orv::win32 {

int16_t Win32Keyboard::GetAsyncKeyState(int vk) { return ::GetAsyncKeyState(vk); }

void Win32Keyboard::KeybdEvent(uint8_t vk, uint32_t flags) { ::keybd_event(vk, 0, flags, 0); }

}  // namespace orv::win32
