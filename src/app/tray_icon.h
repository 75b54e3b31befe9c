#pragma once
// The notification-area icon: added and removed whole, never modified.
#include "state/program_state.h"

namespace orv {

class TrayIconKeeper {
  public:
    explicit TrayIconKeeper(Context& ctx) : ctx_(ctx) {}
    void AddTrayIcon(platform::WindowId window);
    void RemoveTrayIcon();
    bool TrayIconShown() const { return shown_; }
    // The icon as last added shows the enabled picture and tip.
    bool ShowsEnabled() const { return record_.icon == platform::TrayIcon::Enabled; }
    // An add was tried since the last remove: the shell may show an icon of
    // ours even though the add reported failure.
    bool MayLinger() const { return tried_; }
    const platform::NotifyIconData& record() const { return record_; }

    // The record as filled for the current Enabled state.
    static platform::NotifyIconData MakeRecord(platform::WindowId window, bool enabled);

  private:
    Context& ctx_;
    platform::NotifyIconData record_;
    bool shown_ = false;
    bool tried_ = false;
};

}  // namespace orv
