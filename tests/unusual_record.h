#pragma once
// A settings record whose every field differs from its default, with the
// extremes and the characters that need escaping.
#include "settings/settings_record.h"

namespace orv::testing {

inline SettingsRecord Unusual() {
    SettingsRecord s;
    s.Enabled = false;
    s.PrintScreen = 0;
    s.PrintArea = 3;
    s.Fade = 1;
    s.FadeScale = 12.5;
    s.Orientation = 1;
    s.GreyScale = 1;
    s.Negative = 1;
    s.Resize = 1;
    s.ResizeScale = 0.001;
    s.Header = "[date] - [time]";
    s.Footer = "";
    s.Save = 1;
    s.SaveFolder = "D:\\Shots \"quoted\"\\";
    s.SaveFormat = 3;
    s.SaveFileName = "";
    s.ShowIcon = 0;
    s.HidePopup = -1;
    s.Counter = -2147483647 - 1;
    s.Printer = "";
    s.x1 = -32768;
    s.y1 = -5;
    s.x2 = 32767;
    s.y2 = 1;
    s.JpgQuality = 100;
    s.StretchImage = 1;
    s.HeaderSize = 72;
    s.FooterSize = 1;
    s.PageBorder = 30;
    s.AutoLoad = 0;
    s.Key = 123;
    s.OnTheFly = 1;
    return s;
}

}  // namespace orv::testing
