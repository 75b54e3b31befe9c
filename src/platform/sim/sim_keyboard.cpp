#include "platform/keyboard.h"
#include "platform/sim/sim_desktop.h"

namespace orv::sim {

int16_t SimKeyboard::GetAsyncKeyState(int vk) {
    ++queries_;
    int16_t s = 0;
    if (down_.count(vk)) s = static_cast<int16_t>(s | 0x8000);
    if (latched_.erase(vk)) s = static_cast<int16_t>(s | 0x0001);
    if (afterQuery) afterQuery(vk);
    return s;
}

void SimKeyboard::KeybdEvent(uint8_t vk, uint32_t flags) {
    bool up = flags & platform::kKeyEventKeyUp;
    synthesized_.push_back({vk, !up});
    if (up)
        Release(vk);
    else
        Down(vk, false);
}

bool SimKeyboard::RegisterHotKey(platform::WindowId window, int id, int vk) {
    if (elsewhere_.count(vk) || hotKeys_.count(vk)) return false;
    hotKeys_[vk] = {window, id};
    return true;
}

void SimKeyboard::UnregisterHotKey(platform::WindowId window, int id) {
    std::erase_if(hotKeys_,
                  [&](const auto& e) { return e.second.window == window && e.second.id == id; });
}

void SimKeyboard::Down(int vk, bool byUser) {
    down_.insert(vk);
    latched_.insert(vk);
    auto hot = hotKeys_.find(vk);
    // Input to the application in front; a hot key's goes to its window.
    if (byUser && (hot == hotKeys_.end() || vk == platform::kVkSnapshot))
        desktop_.UserInput(nullptr);
    // Alt, pressed or synthesised, lifts the foreground lock.
    if (vk == platform::kVkMenu) desktop_.altUnlocked_ = true;
    // The capture tool's key is the system's hot key: it opens on the press.
    if (vk == platform::kVkSnapshot && desktop_.PrintScreenOpensCapture())
        ++desktop_.captureToolOpened;
    else if (hot != hotKeys_.end())
        desktop_.DeliverHotKey(hot->second.window, hot->second.id);
    else if (!elsewhere_.count(vk))
        reachedApp_.push_back(vk);
}

void SimKeyboard::Release(int vk) {
    down_.erase(vk);
    // The system answers Print Screen on its release: the screen, or with Alt
    // held the active window, lands on the clipboard.
    if (vk == platform::kVkSnapshot && desktop_.printScreenCopies &&
        !desktop_.PrintScreenOpensCapture())
        desktop_.clipboard.PutBitmapAfter(
            IsDown(platform::kVkMenu) ? desktop_.activeWindow : desktop_.screen,
            desktop_.printScreenDelay);
}

}  // namespace orv::sim
