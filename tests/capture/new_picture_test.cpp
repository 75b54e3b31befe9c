// A capture uses only a picture that arrived after it began.
#include <gtest/gtest.h>

#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;

struct StaleCase {
    const char* what;
    int key = 44;
    int16_t printArea = 0;
    int16_t trayChoice = 0;
    bool systemCopies = true;
    double copyDelay = 0;
    bool saved = true;
};

struct FreshRig : CaptureRig {
    FreshRig() {
        st.Settings.Save = 1;
        st.Settings.SaveFileName = "[Counter]";
        // An old picture: yesterday's capture, or an image copied hours ago.
        desk.clipboard.PutBitmap(Image(50, 40, 0x00112233));
    }
};

TEST(NewPicture, OnlyAPictureFromAfterThePressIsUsed) {
    const StaleCase cases[] = {
        {"Print Screen copies", 44},
        {"Print Screen copies nothing", 44, 0, 0, false, 0, false},
        {"Print Screen copies late, within the wait", 44, 0, 0, true, 1.5},
        {"Print Screen copies after the wait", 44, 0, 0, true, 3.0, false},
        {"F10 copies nothing", 121, 0, 0, false, 0, false},
        {"F10, active window, copies nothing", 121, 3, 0, false, 0, false},
        {"F10, active window, copies late", 121, 3, 0, true, 1.0},
        {"tray Save Desktop copies nothing", 44, 0, 7, false, 0, false},
        {"tray Save Desktop copies", 44, 0, 7},
        {"Print Screen with the active window copies nothing", 44, 3, 0, false, 0, false},
    };
    for (const auto& c : cases) {
        FreshRig p;
        p.st.Settings.Key = static_cast<int16_t>(c.key);
        p.st.Settings.PrintArea = c.printArea;
        p.desk.printScreenCopies = c.systemCopies;
        p.desk.printScreenDelay = c.copyDelay;
        if (c.trayChoice)
            p.desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\tray.bmp", 3});
        const uint32_t before = p.desk.clipboard.SequenceNumber();
        // A few ticks: the hot key, where there is one, is taken, and the old
        // picture is older than the two last polls.
        p.proc.RunFor(0.3);
        if (c.trayChoice)
            p.st.TrayCaptureChoice = c.trayChoice;
        else
            p.desk.keyboard.Tap(c.key);
        p.proc.RunFor(4.0);
        EXPECT_EQ(p.desk.files.List().size(), c.saved ? 1u : 0u) << c.what;
        if (c.saved) continue;
        // Nothing saved, the clipboard untouched (unless the system's copy
        // came after all), and the user told why.
        if (!c.systemCopies) {
            EXPECT_EQ(p.desk.clipboard.SequenceNumber(), before) << c.what;
            EXPECT_EQ(p.desk.clipboard.bitmap()->width, 50) << c.what;
        }
        ASSERT_EQ(p.desk.messageBoxes.size(), 1u) << c.what;
        EXPECT_EQ(p.desk.messageBoxes[0].text.rfind("No new picture of the screen arrived", 0), 0u);
        EXPECT_EQ(p.desk.messageBoxes[0].style, platform::mb::kOk | platform::mb::kExclamation);
    }
}

TEST(NewPicture, TheProgramsOwnCopyNeverCountsAndTheUserIsToldOnce) {
    FreshRig p;
    p.st.Settings.Save = 0;
    p.st.Settings.PrintScreen = 1;
    p.PressCaptureKey();
    p.proc.RunFor(1.0);
    ASSERT_EQ(p.desk.printing.documents.size(),
              1u);  // the print job left its copy on the clipboard
    ASSERT_TRUE(p.desk.messageBoxes.empty());

    p.desk.printScreenCopies = false;
    for (int press = 0; press < 3; ++press) {
        p.PressCaptureKey();
        p.proc.RunFor(3.0);
    }
    EXPECT_EQ(p.desk.printing.documents.size(), 1u);
    EXPECT_EQ(p.desk.messageBoxes.size(), 1u);
}

}  // namespace
}  // namespace orv
