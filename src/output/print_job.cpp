#include "output/print_job.h"

#include <new>

#include "output/format_codes.h"
#include "output/page_layout.h"
#include "output/printer_lookup.h"
#include "platform/error.h"
#include "platform/pump.h"
#include "settings/text_convert.h"
#include "state/error_box.h"
#include "state/foreground.h"

namespace orv {
namespace {

constexpr const char* kStageCopy = "Error capturing screen image 0x00";
constexpr const char* kStageLoad = "Error capturing screen image 0x01";
constexpr const char* kStageSelect = "Error Selecting Printer.";
constexpr const char* kStagePaper = "Error scaling paper size";
constexpr const char* kStageArea = "Error calculating image area";
constexpr const char* kStageBands = "Error writing header/footer";
constexpr const char* kStageResize = "Error resizing image area";
constexpr const char* kStageFit = "Error calcualting printer area";
constexpr const char* kStagePrint =
    "Error printing screen image. Check your printer is properly connected.";

constexpr const char* kHeaderPreset = "[Prompt User for Header]";
constexpr const char* kFooterPreset = "[Prompt User for Footer]";
constexpr const char* kMeasureText = "TOWX";

// Replaces a preset by what the user types; Cancel gives an empty text.
void AskIfPreset(Context& ctx, std::string& text, const char* preset, const char* prompt) {
    if (TrimBlanks(text) != preset) return;
    ComeForward(ctx);
    text = ctx.os.ui.InputBox(prompt, ctx.ProductTitle(), "").value_or("");
}

}  // namespace

void PrintCapture(Context& ctx, const std::function<void()>& copyAllToClipboard) {
    SettingsRecord& cs = ctx.state.CaptureSettings;
    platform::Printing& printer = ctx.os.printing;
    const char* stage = kStageCopy;
    bool outputStarted = false;
    bool documentEnded = false;
    Error failure(0, "");
    try {
        // Clipboard history or a remote session may hold the clipboard a moment.
        platform::RetryWhileBusy(ctx.os.ui, ctx.os.clock, [&] { ctx.os.clipboard.Clear(); });
        copyAllToClipboard();
        // The copy has told the user why nothing arrived; there is nothing to print.
        if (!ctx.os.clipboard.HasBitmap()) return;

        stage = kStageLoad;
        // Held for this job only: a whole frame is tens of megabytes at 4K.
        Image picture;
        platform::RetryWhileBusy(ctx.os.ui, ctx.os.clock,
                                 [&] { picture = ctx.os.clipboard.GetBitmap(); });

        stage = kStageSelect;
        // The system's default moves with the user (Windows follows the
        // location), so it is read for every job.
        if (cs.Printer == kDefaultPrinter) printer.SelectDefaultPrinter();
        if (cs.Printer != kDefaultPrinter && FindPrinter(ctx, cs.Printer, true) == 0) {
            ShowBox(ctx, "Printer '" + cs.Printer + "' does not exist anymore. Aborting Print.",
                    ctx.ProductTitle(), platform::mb::kOk | platform::mb::kCritical);
            return;
        }
        // White behind the text: header and footer keep the ordinary text colour.
        printer.SetBackColor(0xFFFFFF);
        printer.SetOrientation(cs.Orientation);
        printer.SetFontName("Arial");

        stage = kStagePaper;
        PageLayout layout =
            LayoutMargins(printer.ScaleWidth(), printer.ScaleHeight(), cs.PageBorder);
        AskIfPreset(ctx, cs.Header, kHeaderPreset, "Enter the Header Text for the Printout");
        AskIfPreset(ctx, cs.Footer, kFooterPreset, "Enter the Footer Text for the Printout");

        stage = kStageArea;
        printer.SetFontSize(cs.HeaderSize);
        float headerHeight = printer.TextHeight(kMeasureText);
        printer.SetFontSize(cs.FooterSize);
        float footerHeight = printer.TextHeight(kMeasureText);
        // Presence is judged before expansion: codes that expand to nothing keep the band.
        bool header = !TrimBlanks(cs.Header).empty();
        bool footer = !TrimBlanks(cs.Footer).empty();
        layout = LayoutImageArea(layout, header, headerHeight, footer, footerHeight);

        stage = kStageBands;
        // The port's own box opens as the first output starts the document.
        // Not knowing costs only the box's place: the output itself reports.
        bool asks = false;
        try {
            asks = printer.OutputAsksForFile();
        } catch (const Error&) {
        }
        if (asks) ComeForward(ctx);
        if (header) {
            outputStarted = true;
            cs.Header = ExpandFormatCodes(ctx, cs.Header, false);
            printer.SetFontSize(cs.HeaderSize);
            printer.PrintLine(layout.marginX, layout.marginY, cs.Header);
        }
        if (footer) {
            outputStarted = true;
            cs.Footer = ExpandFormatCodes(ctx, cs.Footer, false);
            printer.SetFontSize(cs.FooterSize);
            printer.PrintLine(layout.marginX, FooterLineTop(layout, footerHeight), cs.Footer);
        }

        stage = kStageResize;
        layout = LayoutResize(layout, cs.Resize, cs.ResizeScale);

        stage = kStageFit;
        auto pw = static_cast<float>(picture.width), ph = static_cast<float>(picture.height);
        layout = LayoutAspectFit(layout, pw, ph);
        // A whole-desktop picture spans every monitor: the share a partial
        // capture covers is measured against that, not the primary alone.
        const platform::ScreenRect screen = ctx.os.system.VirtualScreen();
        layout =
            LayoutPartialCapture(layout, cs.StretchImage, pw, ph, static_cast<float>(screen.width),
                                 static_cast<float>(screen.height));
        RequireDrawableArea(layout);

        stage = kStagePrint;
        outputStarted = true;
        printer.PaintPicture(picture, layout.left, layout.top, layout.right - layout.left,
                             layout.bottom - layout.top, platform::kSrcCopy);
        documentEnded = true;  // a failing end is not tried a second time
        printer.EndDoc();
        return;
    } catch (const std::exception& e) {
        failure = ToError(e);
    }
    // Send what was drawn so far (the header alone, say). A failure here is
    // left to the caller.
    if (outputStarted && !documentEnded) printer.EndDoc();
    ShowStagedError(ctx, stage, failure);
}

}  // namespace orv
