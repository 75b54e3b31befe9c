#pragma once
#include <cstdint>

#include "platform/ui.h"

namespace orv::platform {

constexpr int kVkMenu = 0x12;
constexpr int kVkSnapshot = 0x2C;
constexpr int kVkEscape = 27;
constexpr int kVkConfigure = 0xE8;  // unassigned key used as the "open settings" signal
constexpr uint32_t kKeyEventKeyUp = 2;

class Keyboard {
  public:
    virtual ~Keyboard() = default;
    // GetAsyncKeyState: bit 15 set while down, bit 0 set when pressed since the previous query.
    virtual int16_t GetAsyncKeyState(int vk) = 0;
    // keybd_event with scan code 0 and extra information 0; flags 0 down, 2 up.
    virtual void KeybdEvent(uint8_t vk, uint32_t flags) = 0;
    // RegisterHotKey without modifiers: the key's presses reach the window as
    // hot-key events and no longer the application in front. False when
    // another program holds the key.
    virtual bool RegisterHotKey(WindowId window, int id, int vk) = 0;
    virtual void UnregisterHotKey(WindowId window, int id) = 0;
};

}  // namespace orv::platform
