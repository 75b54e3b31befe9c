#include "capture/run_capture.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "capture/keys.h"
#include "capture/new_picture.h"
#include "capture/transfers.h"
#include "output/print_job.h"
#include "output/save_to_file.h"
#include "platform/error.h"
#include "platform/trace.h"
#include "state/error_box.h"

namespace orv {
namespace {

std::string TimeOfDay(const platform::DateTime& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
    return buf;
}

int FadeAmount(double fadeScale) {
    double amount = std::nearbyint(2 * fadeScale);  // halves go to the even neighbour
    if (!(amount >= INT32_MIN && amount <= INT32_MAX)) throw err::Overflow();
    return static_cast<int>(amount);
}

}  // namespace

void ApplyTrayChoice(SettingsRecord& c, int choice) {
    struct Row {
        int16_t printScreen, save, printArea;
        bool prompt;
    };
    static const Row kRows[9] = {{}, {0, 0, 0, false}, {0, 0, 2, false},
                                 {}, {1, 0, 0, false}, {1, 0, 2, false},
                                 {}, {0, 1, 0, true},  {0, 1, 2, true}};
    if (choice < 1 || choice > 8 || choice % 3 == 0) return;  // 3 and 6: separators
    const Row& r = kRows[choice];
    c.PrintScreen = r.printScreen;
    c.Save = r.save;
    c.PrintArea = r.printArea;
    if (r.prompt) c.SaveFileName = kPromptForFileName;
}

void RunCapture(Context& ctx, CaptureWindows& w) {
    ProgramState& st = ctx.state;
    if (st.SettingsDialogOpen || !st.Settings.Enabled) return;

    std::string stage;
    auto status = [&](const std::string& text) { w.popup.ShowStatus(text); };
    ImageSurface& surface = w.ContainerSurface;
    SettingsRecord& cs = st.CaptureSettings;
    st.Pictures.CaptureStarts();
    try {
        cs = st.Settings;
        if (st.TrayCaptureChoice != 0) {
            if (!SimulatePrintScreen(ctx)) return;
            ApplyTrayChoice(cs, st.TrayCaptureChoice);
            PumpPause(ctx, 0.1);
        } else if (cs.OnTheFly != 0 && w.showOptionsDialog) {
            w.showOptionsDialog();
            if (st.CaptureCancelled) return;
        }

        if (cs.PrintArea == area::kActiveWindow) {
            if (!SimulateAltPrintScreen(ctx)) return;
            ctx.os.ui.ProcessMessages();
        }

        stage = "Error KeyPressed 0x01";
        st.CaptureTime = TimeOfDay(ctx.os.clock.Now());
        // Only the picture this capture asked for: an older one (the last
        // capture, an image copied hours ago) must not go out under a new name.
        if (!WaitForNewPicture(ctx)) {
            TellNoNewPicture(ctx);
            return;
        }
        ORV_MARK("picture arrived");

        PumpPause(ctx, 0.1);
        ORV_MARK("pause done");
        stage = "Error KeyPressed 0x03";
        if (cs.PrintArea == area::kUserSelects) {
            PumpPause(ctx, 0.5);
            st.CaptureCancelled = false;
            if (w.showSelectionWindow)
                w.showSelectionWindow();
            else
                st.CaptureCancelled = true;
            if (st.CaptureCancelled) return;
        }

        stage = "Error KeyPressded 0x02";
        if (cs.HidePopup == 0) w.popup.Show();

        stage = "Error KeyPressed 0x04";
        status("Screen Capture in Progress");
        ORV_MARK("status shown");
        // Its box told the user; saving or printing nothing, or an older
        // picture, would only add a second one.
        st.Pictures.PictureUsed(ctx.os.clipboard.SequenceNumber());
        if (!sfnPasteFromClipboard(ctx, surface)) {
            w.popup.Close();
            return;
        }
        ORV_MARK("pasted");

        stage =
            "The area of the screen captured is smaller than the specific area selected for "
            "printing. Screen Print/Capture aborted.";
        if (cs.PrintArea == area::kPredefined) {
            status("Cropping Image to Selected Area");
            // The area is in screen pixels; the picture starts at the virtual
            // screen's corner, left of or above the primary monitor's (0, 0).
            const platform::ScreenRect vs = ctx.os.system.VirtualScreen();
            surface.SelectRect(cs.x1 - vs.left, cs.y1 - vs.top, cs.x2 - vs.left, cs.y2 - vs.top);
            surface.CropToSelection();
            ORV_MARK("cropped");
        }

        stage = "There was an error saving file. Screen Print/Capture aborted.";
        if (cs.Save == 1) {
            status("Saving Screen Image to File");
            SaveToFile(ctx, surface);
            ORV_MARK("save done");
        }

        stage = "There was an error printing to screen image. Screen Print aborted.";
        if (cs.PrintScreen == 1) {
            stage = "Error KeyPressed 0x05";
            if (cs.Fade == 1) {
                status("Fading Image by " + FormatDouble(cs.FadeScale, '.') + "%");
                surface.FadeImage(FadeAmount(cs.FadeScale));
            }
            if (cs.GreyScale == 1) {
                status("Converting Image to Greyscale");
                surface.GreyscaleImage();
            }
            if (cs.Negative == 1) {
                status("Converting Image to Negative");
                surface.NegativeImage();
            }
            status("Printing Image to '" + cs.Printer + "'. Please Wait...");
            PrintCapture(ctx, [&] { sfnCopyAllToClipboard(ctx, surface); });
        }
        w.popup.Close();
        ORV_MARK("capture done");
    } catch (const std::exception& ex) {
        w.popup.Close();
        ShowStagedError(ctx, stage, ToError(ex), platform::mb::kCritical);
    }
}

}  // namespace orv
