#include "state/picture_watch.h"

namespace orv {

void PictureWatch::Restart(uint32_t now) {
    lastPoll_ = earlierPoll_ = now;
}

void PictureWatch::IdleTick(uint32_t beforePoll) {
    earlierPoll_ = lastPoll_;
    lastPoll_ = beforePoll;
}

void PictureWatch::PressSeen() {
    mark_ = earlierPoll_;
}

void PictureWatch::KeysSynthesised(uint32_t before) {
    mark_ = before;
}

void PictureWatch::CaptureStarts() {
    used_.reset();
}

void PictureWatch::PictureUsed(uint32_t now) {
    used_ = now;
}

void PictureWatch::OwnWrite(uint32_t after) {
    own_ = after;
}

void PictureWatch::CaptureTickEnded(bool configured, uint32_t now) {
    // Only what came after the picture the capture used is new: a press
    // landing as the capture ended, just after it forgot the presses made
    // meanwhile, is seen by the next tick with the copy it made. A capture
    // that read nothing, or a stay in the settings dialog, counts only what
    // comes after now.
    const uint32_t from = used_ && !configured ? *used_ : now;
    Restart(from);
}

bool PictureWatch::IsNew(uint32_t now, bool hasBitmap) const {
    // A session without clipboard numbers (0 both times) cannot tell old from new.
    const bool unknown = now == 0 && mark_ == 0;
    if (!unknown && (now == mark_ || now == own_)) return false;
    return hasBitmap;
}

}  // namespace orv
