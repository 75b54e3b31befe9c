#include "dialogs/setup.h"

#include "dialogs/setup_layout.h"
#include "platform/error.h"
#include "state/error_box.h"
#include "state/foreground.h"
#include "state/settings_store.h"

namespace orv {

using namespace setup_layout;
namespace mb = platform::mb;

namespace {

struct PageInfo {
    const char* tab;
    const char* tabTip;
    const char* helpTip;
    int helpContext;
};

constexpr PageInfo kPages[] = {
    {"&General", "Define How Orvanex will Work", "Help on 'General' Options", 20},
    {"&Print Options", "Define the Page Orientation, Printer to Use && Layout",
     "Help on 'Print Options'", 30},
    {"Save Optio&ns", "File Saving Options", "Help on 'Save Options'", 40},
    {"&About", "Version Information && How to Contact Us", "Information about Orvanex", 60},
};
constexpr int kPageCount = 4;

constexpr const char* kResetQuestion =
    "This will reset the current settings back to thier default values. Are you sure that you "
    "want to do this?";

}  // namespace

Setup::Setup(Context& ctx) : Form(ctx.os.forms, "Setup"), ctx_(ctx) {
    platform::FormState& d = Design();
    d.clientWidth = 7095;
    d.clientHeight = 5535;
    d.border = FormBorder::FixedDialog;
    d.controlBox = true;
    d.minButton = d.maxButton = false;
    d.showInTaskbar = false;
    d.centerOnScreen = true;
    BuildFrame();
}

void Setup::BuildFrame() {
    ui.TabStrip1 = TabStrip(
        Put(*this, ControlKind::TabStrip, "TabStrip1", -1, nullptr, {120, 120, 6855, 4815}));
    for (const PageInfo& p : kPages) ui.TabStrip1->AddItem(p.tab, p.tabTip);
    ui.TabStrip1->SetListIndex(0);
    ui.TabStrip1->onClick = Handler(&Setup::TabStrip1_Click);

    for (int i = 0; i < kPageCount; ++i) {
        Control& page =
            Put(*this, ControlKind::Frame, "frMain", i + 1, nullptr, {240, 480, 6615, 4335});
        ui.frMain[i] = Frame(page);
        page.SetBorder(false);
        Control& help = Put(*this, ControlKind::CommandButton, "cmdHelpPageSetup", i, &page,
                            {5280, 120, 1215, 375}, "Help", kPages[i].helpTip);
        help.onClick = [this, i] { Guarded([this, i] { cmdHelpPageSetup_Click(i); }); };
        switch (i) {
            case 0:
                BuildGeneralPage(page);
                break;
            case 1:
                BuildPrintPage(page);
                break;
            case 2:
                BuildSavePage(page);
                break;
            default:
                BuildAboutPage(page);
                break;
        }
    }

    ui.cmdOK = Button(Put(*this, ControlKind::CommandButton, "cmdOK", -1, nullptr,
                          {4440, 5040, 1215, 375}, "&OK", "Save changed settings and close"));
    ui.cmdOK->SetDefault(true);
    ui.cmdOK->onClick = Handler(&Setup::cmdOK_Click);
    ui.cmdCancel =
        Button(Put(*this, ControlKind::CommandButton, "cmdCancel", -1, nullptr,
                   {5760, 5040, 1215, 375}, "&Cancel", "Close without saving changed settings"));
    ui.cmdCancel->SetCancel(true);
    ui.cmdCancel->onClick = Handler(&Setup::cmdCancel_Click);

    Timer1_ = &AddTimer("Timer1", kSetupFocusIntervalMs, false);
    Timer1_->onTimer = Handler(&Setup::Timer1_Timer);
}

void Setup::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        try {
            ShowStagedError(ctx_, "", ToError(e));
        } catch (const std::exception&) {  // the box itself failed: no way left to report it
        }
    }
}

std::function<void()> Setup::Handler(void (Setup::*handler)()) {
    return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
}

int Setup::Ask(const std::string& question) {
    return ctx_.os.ui.MsgBox(question, ctx_.ProductTitle(), mb::kYesNo | mb::kQuestion);
}

void Setup::Tell(const std::string& text, unsigned icon) {
    ctx_.os.ui.MsgBox(text, ctx_.ProductTitle(), mb::kOk | icon);
}

// ---- opening and closing

void Setup::Form_Load() {
    ctx_.state.SettingsDialogOpen = true;
    SetCaption(ctx_.ProductTitle());
    DialogSettings = ctx_.state.Settings;
    CurrentPage = 0;
    TabStrip1_Click();
    FillControls();
    SetTopmost(true);
    Timer1_->SetEnabled(true);
}

void Setup::Form_Unload() {
    ctx_.state.SettingsDialogOpen = false;
}

// ---- frame handlers

void Setup::TabStrip1_Click() {
    const int i = ui.TabStrip1->listIndex() + 1;
    if (i == CurrentPage) return;
    CurrentPage = static_cast<int16_t>(i);
    for (const Frame& page : ui.frMain) page->SetVisible(false);
    if (i >= 1 && i <= kPageCount) ui.frMain[i - 1]->SetVisible(true);
}

void Setup::Timer1_Timer() {
    // Once after each fill: the dialog to the front with OK focused.
    if (FocusGiven) return;
    FocusGiven = true;
    Activate();
    Focus(*ui.cmdOK);
}

void Setup::cmdOK_Click() {
    CollectControls();
    ctx_.state.Settings = DialogSettings;
    SaveSettings(ctx_);
    Close();
}

void Setup::cmdCancel_Click() {
    Close();
}

void Setup::cmdReset_Click() {
    if (Ask(kResetQuestion) != mb::kIdYes) return;
    // The working copy only: Cancel, or Exit with the dialog open, must find
    // the settings (and the counter) as they were.
    DialogSettings = DefaultSettings(ctx_);
    FillControls();
    ui.cmdCancel->SetEnabled(false);
}

void Setup::cmdHelpPageSetup_Click(int index) {
    if (index < 0 || index >= kPageCount) return;
    ctx_.os.help.ShowHelp(ctx_.os.system.AppFolder() + "\\Orvanex.hlp", kPages[index].helpContext);
}

// ---- controller

SetupController::~SetupController() {
    Close();
}

void SetupController::ShowModal() {
    if (setup_) {
        Focus();
        return;
    }
    setup_ = std::make_unique<Setup>(ctx_);
    showing_ = true;
    try {
        setup_->Load();
        if (setup_->loaded()) ComeForward(ctx_, setup_->handle());
        setup_->ShowModal();
    } catch (...) {
        showing_ = false;
        setup_.reset();
        ctx_.state.SettingsDialogOpen = false;
        throw;
    }
    showing_ = false;
    setup_.reset();
}

void SetupController::Focus() {
    if (!setup_ || !setup_->loaded()) return;
    ComeForward(ctx_, setup_->handle());
    setup_->Activate();
}

void SetupController::Close() {
    if (!setup_) return;
    try {
        setup_->Close();
    } catch (const Error&) {
        // Going either way: dropping the object takes the window down.
    }
    // While its modal showing is still on the stack the object must live;
    // that showing drops it when it returns.
    if (!showing_) setup_.reset();
}

}  // namespace orv
