#pragma once
// The progress popup: a small window that names the stage a capture is in.
#include <memory>
#include <string>

#include "state/program_state.h"
#include "ui/form.h"

namespace orv {

class Popup : public Form {
  public:
    explicit Popup(Context& ctx);

    Control& Frame1;
    Control& lblProductName;
    Control& lblCaption;

  protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;

  private:
    Context& ctx_;
};

// What the capture pipeline (and Exit) do with the popup. One popup at a
// time; it is created on first use and dropped when closed, so every capture
// starts from the design texts.
class PopupController {
  public:
    explicit PopupController(Context& ctx) : ctx_(ctx) {}
    ~PopupController();

    void Show();  // modeless, painted at once
    // The status line, painted at once. Loads the popup hidden when it is not
    // loaded; does nothing while HidePopup of the capture settings holds -1.
    void ShowStatus(const std::string& text);
    void Close();  // never throws: it also runs in error handlers
    Popup* popup() const { return popup_.get(); }

  private:
    Popup& Loaded();

    Context& ctx_;
    std::unique_ptr<Popup> popup_;
};

}  // namespace orv
