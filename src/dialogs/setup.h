#pragma once
// The settings dialog: four tabbed pages that edit a working copy of the
// settings, put into effect only by OK.
#include <functional>
#include <memory>
#include <string>

#include "dialogs/setup_controls.h"
#include "state/program_state.h"
#include "ui/form.h"

namespace orv {

// Box colours of the numeric boxes and the printer list: a window's
// background while they take input, the dialog's own while they do not.
inline constexpr uint32_t kActiveColour = platform::colour::kWindow;
inline constexpr uint32_t kInactiveColour = platform::colour::kButtonFace;

inline constexpr int kSetupFocusIntervalMs = 200;

// Capture keys in the order of the key list.
inline constexpr int16_t kCaptureKeys[] = {44, 121, 122, 123};

class Setup : public Form {
  public:
    explicit Setup(Context& ctx);

    SettingsRecord DialogSettings;
    int16_t CurrentPage = 0;  // 1..4 as the tabs count; 0 none
    bool FocusGiven = false;

    // The working copy into the controls and back, as the binding table says.
    void FillControls();
    void CollectControls();

    // Frame.
    void TabStrip1_Click();
    void Timer1_Timer();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdReset_Click();
    void cmdHelpPageSetup_Click(int index);

    // General page.
    void obPrintArea_Click(int index);
    void cmdDefineArea_Click();
    void cbxGlobalSettings_Click();
    void cmdExport_Click();

    // Print Options page.
    void cbxPrintScreen_Click();
    void cbxResize_Click();
    void cbxFade_Click();
    void udResize_Spin(int direction);
    void udFade_Spin(int direction);
    void udPageBorder_Spin(int direction);

    // Save Options page.
    void cbxSave_Click();
    void cmdBrowse_Click();
    void cmdResetCounter_Click();

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void BuildFrame();
    void BuildGeneralPage(Control& page);
    void BuildPrintPage(Control& page);
    void BuildSavePage(Control& page);
    void BuildAboutPage(Control& page);

    // What the binding table does not cover: texts and colours that follow fields.
    void ShowArea();
    void ShowNumberBoxColours();
    void FillAboutPage();

    // Runs a handler; an error it raises is shown, never passed on.
    void Guarded(const std::function<void()>& handler);
    std::function<void()> Handler(void (Setup::*handler)());
    void Reload();
    void WriteChooser(const char* text);
    int Ask(const std::string& question);
    void Tell(const std::string& text, unsigned icon);

    Context& ctx_;
    Timer* Timer1_ = nullptr;

  public:
    SetupControls ui;
};

// The dialog as the rest of the program sees it: one at a time, created on
// opening and dropped once the modal showing has returned.
class SetupController {
  public:
    explicit SetupController(Context& ctx) : ctx_(ctx) {}
    ~SetupController();

    void ShowModal();  // returns when the dialog has closed
    void Focus();      // brings an open dialog to the front
    void Close();      // closes an open dialog without saving; never throws
    Setup* dialog() const { return setup_.get(); }

  private:
    Context& ctx_;
    std::unique_ptr<Setup> setup_;
    bool showing_ = false;
};

}  // namespace orv
