#pragma once
// Which picture on the clipboard is new. The clipboard's sequence number
// changes with every write; a capture uses only a bitmap written after its
// mark that the program did not write itself. The key watch, the capture and
// the clipboard writers tell this one object what happened, with the number
// at that moment, and ask it; none reads another's numbers.
#include <cstdint>
#include <optional>

namespace orv {

class PictureWatch {
  public:
    // Nothing on the clipboard at `now` is new: the watch starts, a capture
    // read nothing, or the settings dialog held the key watch a while.
    void Restart(uint32_t now);
    // An idle tick polled the capture key with the clipboard at `beforePoll`.
    void IdleTick(uint32_t beforePoll);
    // The capture key was seen, or a tray capture chosen. The system copies
    // the screen as the key goes down or up, often before the tick sees the
    // press, and a poll can miss a press by one tick (under Wine a key query
    // made soon after another is answered from a copy): what came after the
    // poll before the last is new, never anything older.
    void PressSeen();
    // The program is about to make the system copy the screen; `before` is
    // the number just before the keys go out.
    void KeysSynthesised(uint32_t before);
    // A capture starts: it has used no picture yet.
    void CaptureStarts();
    // The capture reads the clipboard's picture, the number being `now`.
    void PictureUsed(uint32_t now);
    // The program wrote the clipboard; `after` is the number right after.
    void OwnWrite(uint32_t after);
    // A tick that ran a capture ends at `now`; `configured` when the
    // settings dialog was opened in the same tick.
    void CaptureTickEnded(bool configured, uint32_t now);

    // Whether the clipboard, at `now` and holding a bitmap or not, has the
    // picture the capture asked for.
    bool IsNew(uint32_t now, bool hasBitmap) const;

  private:
    uint32_t lastPoll_ = 0;     // before the last idle tick's poll
    uint32_t earlierPoll_ = 0;  // before the poll before that
    uint32_t mark_ = 0;         // the capture's: only what came after is new
    std::optional<uint32_t> used_;
    std::optional<uint32_t> own_;
};

}  // namespace orv
