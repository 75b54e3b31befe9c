#pragma once
// A started program on a desktop whose screen is a known picture, with the
// user's gestures on the area selection window.
#include <functional>
#include <initializer_list>
#include <map>

#include "sim_program.h"

namespace orv::testing {

inline Image Pattern(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.at(x, y) =
                uint32_t(x * 7 % 256) << 16 | uint32_t(y * 3 % 256) << 8 | uint32_t(x + y) % 256;
    return img;
}

// Inclusive corners, as a selection has them.
inline Image Part(const Image& img, int left, int top, int right, int bottom) {
    Image part(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) part.at(x - left, y - top) = img.at(x, y);
    return part;
}

// Each picture the program wrote (a selected part, the print job's copy)
// carries the formats that keep it out of clipboard history and the cloud;
// a copy of the screen, standing in for Print Screen's, carries none.
inline bool ClipboardWritesKeptPrivate(const sim::SimClipboard& clipboard) {
    const std::map<std::string, uint32_t> kept = {
        {"ExcludeClipboardContentFromMonitorProcessing", 0},
        {"CanIncludeInClipboardHistory", 0},
        {"CanUploadToCloudClipboard", 0}};
    for (const auto& w : clipboard.writes())
        if (w.flags != (w.format == "CF_DIB" ? kept : std::map<std::string, uint32_t>{}))
            return false;
    return !clipboard.writes().empty();
}

namespace gesture {
using platform::MouseAction;
using platform::MouseButton;
inline sim::FormAction At(MouseAction a, MouseButton b, int x, int y) {
    return sim::user::Mouse("SelectionSurface", a, b, x, y);
}
inline sim::FormScript Drag(int x1, int y1, int x2, int y2) {
    return {At(MouseAction::Down, MouseButton::Left, x1, y1),
            At(MouseAction::Move, MouseButton::Left, (x1 + x2) / 2, (y1 + y2) / 2),
            At(MouseAction::Move, MouseButton::Left, x2, y2),
            At(MouseAction::Up, MouseButton::Left, x2, y2)};
}
inline sim::FormScript RightClick(int x = 5, int y = 5) {
    return {At(MouseAction::Down, MouseButton::Right, x, y),
            At(MouseAction::Up, MouseButton::Right, x, y)};
}
// Something the test does while the window is up.
inline sim::FormAction Do(std::function<void(platform::FormEvents&)> action) {
    return sim::user::Run(std::move(action));
}
// Lets the window's 100 ms timer act on a menu choice.
inline sim::FormScript Tick() {
    return {sim::user::Wait(0.15)};
}
inline sim::FormScript Steps(std::initializer_list<sim::FormScript> parts) {
    sim::FormScript all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}
}  // namespace gesture

struct CaptureRig : SimProgram {
    CaptureRig() {
        desk.screen = Pattern(320, 200);
        program.Start("-startup");
        proc.RunFor(0.15);
        st.Settings.PrintScreen = 0;
        st.Settings.Save = 0;
        st.Settings.SaveFormat = 2;  // BMP
        st.Settings.SaveFileName = "cap";
    }
    // The capture key, seen by the program at its next key watch tick.
    void PressCaptureKey() {
        desk.keyboard.Tap(st.Settings.Key);
        proc.RunFor(0.1);
    }
    void AreaCapture(sim::FormScript script) {
        st.Settings.PrintArea = 2;
        proc.forms.OnAppear("Capture", std::move(script));
        PressCaptureKey();
    }
};

}  // namespace orv::testing
