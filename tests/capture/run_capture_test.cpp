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
        desk.clock.SetDate({2026, 3, 5, 14, 7, 9});
        st.Settings.PrintScreen = 0;
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

class Pipeline : public ::testing::Test, public Rig {};

TEST_F(Pipeline, SilentEndsLeaveNoTrace) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> arrange;
    };
    const Case cases[] = {
        {"settings dialog open", [](Rig& p) { p.st.SettingsDialogOpen = true; }},
        {"disabled", [](Rig& p) { p.st.Settings.Enabled = false; }},
        {"selection window not available", [](Rig& p) { p.st.Settings.PrintArea = 2; }},
    };
    for (const auto& c : cases) {
        Rig p;
        p.st.Settings.Save = 1;
        c.arrange(p);
        p.Capture();
        EXPECT_TRUE(p.desk.messageBoxes.empty()) << c.what;
        EXPECT_TRUE(p.desk.files.List().empty()) << c.what;
        EXPECT_EQ(p.program.popup().popup(), nullptr) << c.what;
    }
}

TEST_F(Pipeline, NeitherSaveNorPrintLeavesTheCaptureOnTheClipboard) {
    st.Settings.Save = 0;
    Capture();
    EXPECT_TRUE(desk.messageBoxes.empty());
    EXPECT_EQ(*desk.clipboard.bitmap(), desk.screen);
    EXPECT_TRUE(desk.files.List().empty());
}

// The area is in screen pixels (where Define Area read the pointer); the
// picture of the desktop starts at the virtual screen's top-left corner.
TEST_F(Pipeline, PredefinedAreaIsFoundOnEveryMonitor) {
    using R = platform::ScreenRect;
    struct Case {
        const char* what;
        std::vector<R> monitors;  // primary first
        R area;                   // x1, y1 and the size
        int pictureX, pictureY;   // where it lies in the 320 x 200 picture
    };
    const Case cases[] = {
        {"one monitor", {}, {10, 20, 100, 50}, 10, 20},
        {"second monitor on the right", {{0, 0, 160, 200}, {160, 0, 160, 200}}, {170, 20, 100, 50}, 170, 20},
        {"second monitor on the left", {{0, 0, 200, 200}, {-120, 0, 120, 200}}, {-110, 20, 100, 50}, 10, 20},
        {"primary's own area, second on the left", {{0, 0, 200, 200}, {-120, 0, 120, 200}}, {5, 5, 100, 50}, 125, 5},
        {"second monitor above", {{0, 0, 320, 100}, {0, -100, 320, 100}}, {10, -90, 100, 50}, 10, 10},
        {"second monitor left and above", {{0, 0, 200, 120}, {-120, -80, 120, 80}}, {-100, -70, 50, 40}, 20, 10},
        {"across both monitors", {{0, 0, 200, 200}, {-120, 0, 120, 200}}, {-20, 0, 100, 50}, 100, 0},
    };
    for (const auto& c : cases) {
        Rig p;
        p.desk.monitors = c.monitors;
        p.st.Settings.Save = 1;
        p.st.Settings.PrintArea = 1;
        SettingsRecord& s = p.st.Settings;
        s.x1 = int16_t(c.area.left), s.y1 = int16_t(c.area.top);
        s.x2 = int16_t(c.area.left + c.area.width - 1), s.y2 = int16_t(c.area.top + c.area.height - 1);
        p.Capture();
        auto img = p.Saved();
        ASSERT_TRUE(img) << c.what << ": " << (p.desk.messageBoxes.empty() ? "" : p.desk.messageBoxes[0].text);
        EXPECT_EQ(*img, Part(p.desk.screen, c.pictureX, c.pictureY, c.pictureX + c.area.width - 1,
                             c.pictureY + c.area.height - 1))
            << c.what;
    }
}

TEST_F(Pipeline, AreaOutsideTheImageShowsTheAreaMessage) {
    st.Settings.Save = 1;
    st.Settings.PrintArea = 1;
    st.Settings.x2 = 5000;
    Capture();
    ASSERT_EQ(desk.messageBoxes.size(), 1u);
    const auto& box = desk.messageBoxes[0];
    EXPECT_EQ(box.text.rfind("The area of the screen captured is smaller than the specific area "
                             "selected for printing. Screen Print/Capture aborted.\r\n", 0),
              0u)
        << box.text;
    EXPECT_EQ(box.style, platform::mb::kCritical);
    EXPECT_EQ(box.title, "Orvanex - v3.5");
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_EQ(program.popup().popup(), nullptr);
}

TEST_F(Pipeline, TraySaveDesktopAsksForTheNameAndLeavesSettingsAlone) {
    st.Settings.Save = 0;
    st.Settings.PrintScreen = 1;
    SettingsRecord before = st.Settings;
    desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\tray.bmp", 3});
    st.TrayCaptureChoice = 7;
    RunCapture(ctx, program.captureWindows());
    EXPECT_EQ(desk.dialogs.saveRequests.size(), 1u);
    auto img = Saved("C:\\tray.bmp");
    ASSERT_TRUE(img);
    EXPECT_EQ(*img, desk.screen);
    before.Counter = 1;
    EXPECT_EQ(st.Settings, before);
    EXPECT_TRUE(desk.messageBoxes.empty());
}

TEST_F(Pipeline, EffectsNeverReachTheSavedFile) {
    st.Settings.Save = 1;
    st.Settings.PrintScreen = 1;
    st.Settings.Fade = 1;
    st.Settings.FadeScale = 12.5;
    st.Settings.GreyScale = 1;
    st.Settings.Negative = 1;
    Capture();
    auto img = Saved();
    ASSERT_TRUE(img);
    EXPECT_EQ(*img, desk.screen);
    // The printing path got the transformed picture through the clipboard.
    ASSERT_TRUE(desk.clipboard.bitmap());
    EXPECT_NE(*desk.clipboard.bitmap(), desk.screen);
    uint32_t c = desk.clipboard.bitmap()->at(5, 5);
    EXPECT_EQ(c >> 16 & 0xFF, c & 0xFF) << "greyscale";
}

TEST_F(Pipeline, HiddenPopupStillRunsEveryStage) {
    st.Settings.Save = 1;
    st.Settings.HidePopup = 1;
    Capture();
    EXPECT_TRUE(Saved());
    EXPECT_EQ(program.popup().popup(), nullptr);
}

TEST_F(Pipeline, TrayChoicesApplyToTheCaptureOnly) {
    struct Row { int choice; int16_t print, save, area; bool prompt; };
    for (Row r : {Row{1, 0, 0, 0, false}, Row{2, 0, 0, 2, false}, Row{4, 1, 0, 0, false},
                  Row{5, 1, 0, 2, false}, Row{7, 0, 1, 0, true}, Row{8, 0, 1, 2, true}}) {
        SettingsRecord s;
        s.SaveFileName = "keep";
        ApplyTrayChoice(s, r.choice);
        EXPECT_EQ(s.PrintScreen, r.print) << r.choice;
        EXPECT_EQ(s.Save, r.save) << r.choice;
        EXPECT_EQ(s.PrintArea, r.area) << r.choice;
        EXPECT_EQ(s.SaveFileName, r.prompt ? "[Prompt user for filename]" : "keep") << r.choice;
    }
}

TEST_F(Pipeline, ClipboardBusyThroughoutGivesOneMessageAfterTenAttempts) {
    desk.keyboard.Tap(44);
    desk.clipboard.MakeBusy(1000);
    int opensBefore = desk.clipboard.opens();
    double start = desk.clock.MonotonicSeconds();
    RunCapture(ctx, program.captureWindows());
    EXPECT_EQ(desk.clipboard.opens() - opensBefore, 10);
    EXPECT_LT(desk.clock.MonotonicSeconds() - start, 2.0);
    ASSERT_EQ(desk.messageBoxes.size(), 1u);
    EXPECT_EQ(desk.messageBoxes[0].text,
              "Failed to copy an image from the clipboard. Ensure that no other software is "
              "utilising the clipboard.\r\nCan't open Clipboard 209");
}

TEST_F(Pipeline, CaptureTimeIsStampedAndUsedByTheName) {
    st.Settings.Save = 1;
    st.Settings.SaveFileName = "[hour]-[min]-[sec]";
    desk.clock.SetDate({2026, 3, 5, 9, 5, 7});
    Capture();
    EXPECT_EQ(st.CaptureTime, "09:05:07");
    EXPECT_TRUE(desk.files.Read("C:\\09-05-07.bmp"));
}

}  // namespace
}  // namespace orv
