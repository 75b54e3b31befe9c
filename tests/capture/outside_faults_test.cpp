// The world around a resident going wrong between or during captures: the
// capture in hand ends with at most one box, and the next one saves.
#include <gtest/gtest.h>

#include <functional>

#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;

TEST(OutsideFaults, OneBoxAtMostAndTheNextCaptureSaves) {
    struct Case {
        const char* what;
        std::function<void(CaptureRig&)> arrange;
        const char* box;  // how the one box begins; nullptr: none
        std::size_t files;
    };
    const Case cases[] = {
        {"clipboard busy for five tries", [](CaptureRig& r) { r.desk.clipboard.MakeBusy(5); },
         nullptr, 1},
        {"clipboard busy for thirty tries", [](CaptureRig& r) { r.desk.clipboard.MakeBusy(30); },
         "Failed to copy an image from the clipboard.", 0},
        {"printer removed after the start",
         [](CaptureRig& r) {
             r.st.Settings.PrintScreen = 1;
             r.st.Settings.Printer = "Colour Inkjet";
             r.desk.printing.printers = {"Office Laser"};
         },
         "Printer 'Colour Inkjet' does not exist anymore. Aborting Print.", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CaptureRig rig;
        rig.st.Settings.Save = 1;
        rig.st.Settings.SaveFileName = "cap[counter]";
        c.arrange(rig);
        rig.PressCaptureKey();
        rig.proc.RunFor(4.0);
        ASSERT_EQ(rig.desk.messageBoxes.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(rig.desk.messageBoxes[0].text.rfind(c.box, 0), 0u)
                << rig.desk.messageBoxes[0].text;
        }
        EXPECT_EQ(rig.desk.files.List().size(), c.files);
        rig.desk.clipboard.MakeBusy(0);  // the other program lets go
        rig.PressCaptureKey();
        rig.proc.RunFor(1.0);
        EXPECT_EQ(rig.desk.files.List().size(), c.files + 1);
        EXPECT_TRUE(rig.program.container().loaded());
    }
}

}  // namespace
}  // namespace orv
