#include "capture/run_capture.h"

#include <gtest/gtest.h>

#include "capture/decoders.h"
#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;

// A desktop whose screen is a known pattern; the capture runs without the key watch.
struct Rig : SimProgram {
    Rig() {
        desk.screen = Pattern(320, 200);
        st.Settings.PrintScreen = 0;
        st.Settings.Save = 1;
        st.Settings.SaveFormat = 2;
        st.Settings.SaveFileName = "cap";
    }
    void Capture() {
        desk.keyboard.Tap(44);  // the system copies the screen
        RunCapture(ctx, program.captureWindows());
    }
    std::optional<Image> Saved(const char* path = "C:\\cap.bmp") {
        auto b = desk.files.Read(path);
        if (!b) return std::nullopt;
        return testing::DecodeBmp(*b).image;
    }
};

TEST(Pipeline, EndsWithoutSavingOrPrinting) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> arrange;
        const char* box;  // how the one box begins; nullptr: none
        int opens = 0;    // tries to open the clipboard; 0: not counted
    };
    const Case cases[] = {
        {"settings dialog open", [](Rig& p) { p.st.SettingsDialogOpen = true; }, nullptr},
        {"disabled", [](Rig& p) { p.st.Settings.Enabled = false; }, nullptr},
        {"selection window not available", [](Rig& p) { p.st.Settings.PrintArea = 2; }, nullptr},
        {"area outside the picture",
         [](Rig& p) { p.st.Settings.PrintArea = 1, p.st.Settings.x2 = 5000; },
         "The area of the screen captured is smaller than the specific area selected for "
         "printing."},
        {"clipboard busy throughout", [](Rig& p) { p.desk.clipboard.MakeBusy(1000); },
         "Failed to copy an image from the clipboard. Ensure that no other software is utilising "
         "the "
         "clipboard.\r\nCan't open Clipboard 209",
         10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig p;
        c.arrange(p);
        const double start = p.desk.clock.MonotonicSeconds();
        const int opens = p.desk.clipboard.opens();
        p.Capture();
        EXPECT_LT(p.desk.clock.MonotonicSeconds() - start, 2.0);
        EXPECT_TRUE(!c.opens || p.desk.clipboard.opens() - opens == c.opens);
        ASSERT_EQ(p.desk.messageBoxes.size(), c.box ? 1u : 0u);
        EXPECT_TRUE(!c.box || p.desk.messageBoxes[0].text.starts_with(c.box))
            << p.desk.messageBoxes[0].text;
        EXPECT_TRUE(p.desk.files.List().empty());
        EXPECT_EQ(p.program.popup().popup(), nullptr);
    }
}

// The area is in screen pixels (where Define Area read the pointer); the
// picture of the desktop starts at the virtual screen's top-left corner.
TEST(Pipeline, PredefinedAreaIsFoundOnEveryMonitor) {
    using R = platform::ScreenRect;
    struct Case {
        const char* what;
        std::vector<R> monitors;  // primary first
        R area;                   // x1, y1 and the size
        int pictureX, pictureY;   // where it lies in the 320 x 200 picture
    };
    // clang-format off
    const Case cases[] = {
        {"one monitor", {}, {10, 20, 100, 50}, 10, 20},
        {"second monitor on the right", {{0, 0, 160, 200}, {160, 0, 160, 200}}, {170, 20, 100, 50}, 170, 20},
        {"primary's own area, second on the left", {{0, 0, 200, 200}, {-120, 0, 120, 200}}, {5, 5, 100, 50}, 125, 5},
        {"second monitor left and above", {{0, 0, 200, 120}, {-120, -80, 120, 80}}, {-100, -70, 50, 40}, 20, 10},
        {"across both monitors", {{0, 0, 200, 200}, {-120, 0, 120, 200}}, {-20, 0, 100, 50}, 100, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        Rig p;
        p.desk.monitors = c.monitors;
        p.st.Settings.PrintArea = 1;
        SettingsRecord& s = p.st.Settings;
        s.x1 = int16_t(c.area.left), s.y1 = int16_t(c.area.top);
        s.x2 = int16_t(c.area.left + c.area.width - 1),
        s.y2 = int16_t(c.area.top + c.area.height - 1);
        p.Capture();
        auto img = p.Saved();
        ASSERT_TRUE(img) << c.what << ": "
                         << (p.desk.messageBoxes.empty() ? "" : p.desk.messageBoxes[0].text);
        EXPECT_EQ(*img, Part(p.desk.screen, c.pictureX, c.pictureY, c.pictureX + c.area.width - 1,
                             c.pictureY + c.area.height - 1))
            << c.what;
    }
}

TEST(Pipeline, TraySaveDesktopAsksForTheNameAndLeavesSettingsAlone) {
    Rig p;
    p.st.Settings.Save = 0;
    p.st.Settings.PrintScreen = 1;
    SettingsRecord before = p.st.Settings;
    p.desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\tray.bmp", 3});
    p.st.TrayCaptureChoice = 7;
    RunCapture(p.ctx, p.program.captureWindows());
    EXPECT_EQ(p.desk.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(p.Saved("C:\\tray.bmp"), p.desk.screen);
    before.Counter = 1;
    EXPECT_EQ(p.st.Settings, before);
    EXPECT_TRUE(p.desk.messageBoxes.empty());
    EXPECT_TRUE(p.desk.printing.documents.empty());
}

// The effects reach the printed picture only; the capture time names the file.
TEST(Pipeline, EffectsNeverReachTheSavedFile) {
    Rig p;
    p.st.Settings.PrintScreen = 1;
    p.st.Settings.Fade = 1;
    p.st.Settings.FadeScale = 12.5;
    p.st.Settings.GreyScale = 1;
    p.st.Settings.Negative = 1;
    p.st.Settings.HidePopup = 1;
    p.st.Settings.SaveFileName = "[hour]-[min]-[sec]";
    p.desk.clock.SetDate({2026, 3, 5, 9, 5, 7});
    p.Capture();
    EXPECT_EQ(p.st.CaptureTime, "09:05:07");
    EXPECT_EQ(p.Saved("C:\\09-05-07.bmp"), p.desk.screen);
    EXPECT_EQ(p.program.popup().popup(), nullptr);
    // The printing path got the transformed picture through the clipboard.
    ASSERT_TRUE(p.desk.clipboard.bitmap());
    EXPECT_NE(*p.desk.clipboard.bitmap(), p.desk.screen);
    const uint32_t c = p.desk.clipboard.bitmap()->at(5, 5);
    EXPECT_EQ(c >> 16 & 0xFF, c & 0xFF) << "greyscale";
    EXPECT_EQ(p.desk.printing.documents.size(), 1u);
    EXPECT_TRUE(ClipboardWritesKeptPrivate(p.desk.clipboard));
}

TEST(Pipeline, NeitherSaveNorPrintLeavesTheCaptureOnTheClipboard) {
    Rig p;
    p.st.Settings.Save = 0;
    p.Capture();
    EXPECT_TRUE(p.desk.messageBoxes.empty());
    EXPECT_EQ(p.desk.clipboard.bitmap(), p.desk.screen);
    EXPECT_TRUE(p.desk.files.List().empty());
}

}  // namespace
}  // namespace orv
