#pragma once
#include "platform/keyboard.h"

namespace orv::win32 {

class Win32Keyboard : public platform::Keyboard {
  public:
    int16_t GetAsyncKeyState(int vk) override;
    void KeybdEvent(uint8_t vk, uint32_t flags) override;
    bool RegisterHotKey(platform::WindowId window, int id, int vk) override;
    void UnregisterHotKey(platform::WindowId window, int id) override;
};

}  // namespace orv::win32
