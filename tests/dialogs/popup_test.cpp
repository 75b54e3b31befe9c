#include "dialogs/popup.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

class PopupTest : public ::testing::Test {
  protected:
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    ProgramState state;
    Context ctx{process.os(), state};
    PopupController popup{ctx};
    sim::SimForms::Record Record() const { return process.forms.record("Popup"); }
};

TEST_F(PopupTest, HidePopupDecidesWhatTheStatusLineDoes) {
    struct Case {
        int16_t hidePopup;
        bool loadedAfterStatus;
        const char* caption;  // after one ShowStatus
    };
    const Case cases[] = {
        {0, true, "Saving Screen Image to File"},
        {1, true, "Saving Screen Image to File"},  // loaded hidden, text still set
        {-1, false, nullptr},                      // the one value that skips the work
    };
    for (const auto& c : cases) {
        state.CaptureSettings.HidePopup = c.hidePopup;
        int shows = Record().shows;
        popup.ShowStatus("Saving Screen Image to File");
        EXPECT_EQ(Record().loaded, c.loadedAfterStatus) << c.hidePopup;
        EXPECT_FALSE(Record().visible) << c.hidePopup;  // a status alone never shows it
        EXPECT_EQ(Record().shows, shows) << c.hidePopup;
        if (c.caption) {
            EXPECT_EQ(popup.popup()->lblCaption.caption(), c.caption);
        }
        popup.Close();
        EXPECT_EQ(process.forms.loadedCount(), 0) << c.hidePopup;
    }
}

// Each capture loads it afresh with the design texts; the user cannot close
// it; every status repaints at once, the same text again too (the pipeline
// relies on it); closing leaves nothing loaded.
TEST_F(PopupTest, EachCaptureRepaintsEveryStatusAndLeavesNothingLoaded) {
    for (int capture = 0; capture < 2; ++capture) {
        int repaints = Record().repaints;
        popup.Show();
        EXPECT_TRUE(Record().visible);
        EXPECT_EQ(Record().repaints, ++repaints);
        EXPECT_EQ(popup.popup()->lblCaption.caption(), "Screen Capture in Progress.......");
        process.forms.Perform(*popup.popup(), sim::user::Close());
        process.forms.Perform(*popup.popup(), sim::user::Key(27));
        EXPECT_TRUE(Record().visible);
        for (const char* text : {"Cropping Image to Selected Area", "Fading Image by 12.5%",
                                 "Fading Image by 12.5%"}) {
            popup.ShowStatus(text);
            EXPECT_EQ(Record().repaints, ++repaints) << text;
            EXPECT_EQ(popup.popup()->lblCaption.caption(), text);
        }
        popup.Close();
        EXPECT_EQ(popup.popup(), nullptr);
        EXPECT_FALSE(Record().loaded || Record().visible);
        EXPECT_EQ(process.forms.loadedCount(), 0);
    }
    popup.Close();  // Exit with no popup: nothing to do
    EXPECT_EQ(Record().loads, 2);
    {
        PopupController other{ctx};
        other.Show();
        EXPECT_EQ(process.forms.loadedCount(), 1);
    }
    EXPECT_EQ(process.forms.loadedCount(), 0);
}

}  // namespace
}  // namespace orv
