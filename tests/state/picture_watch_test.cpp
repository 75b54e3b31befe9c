// Which clipboard picture a capture may use, over the key watch's timings.
#include "state/picture_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

// One event of a run, the clipboard's number moving as Windows moves it.
enum class Ev {
    Copy,               // someone (the system, the user) writes the clipboard
    OwnCopy,            // the program writes it
    IdleTick,           // a tick polls the key and sees nothing
    Press,              // a tick sees the capture key
    Synthesise,         // the program sends the keys that make the system copy
    Use,                // the capture reads the clipboard
    TickEnd,            // the capture's tick ends
    ConfiguredTickEnd,  // ... with the settings dialog opened in it too
};

struct Case {
    const char* what;
    std::vector<Ev> run;
    bool isNew;  // whether the clipboard then holds the capture's picture
};

TEST(PictureWatch, OnlyTheCapturesOwnPictureIsNew) {
    using enum Ev;
    const Case cases[] = {
        {"the copy made by a press the next poll sees", {IdleTick, Press, Copy}, true},
        {"the copy came before the tick saw the press", {IdleTick, Copy, Press}, true},
        {"a press seen one tick late: its copy came before the previous poll",
         {IdleTick, Copy, IdleTick, Press},
         true},
        {"never a copy older than two polls", {Copy, IdleTick, IdleTick, IdleTick, Press}, false},
        {"a press with no copy leaves the old picture old",
         {Copy, IdleTick, IdleTick, Press},
         false},
        {"the program's own copy never counts", {IdleTick, IdleTick, Press, OwnCopy}, false},
        {"nor does it after an earlier capture's own copy",
         {IdleTick, Press, Copy, Use, OwnCopy, TickEnd, IdleTick, Press},
         false},
        {"synthesised keys: only what comes after them",
         {IdleTick, Copy, IdleTick, Press, Synthesise},
         false},
        {"synthesised keys and the system's copy", {IdleTick, Press, Synthesise, Copy}, true},
        {"a press as a capture ended is seen with the copy it made",
         {IdleTick, Press, Copy, Use, Copy, TickEnd, Press},
         true},
        {"a capture's own picture is old for the next",
         {IdleTick, Press, Copy, Use, TickEnd, IdleTick, Press},
         false},
        {"capture and settings dialog in one tick: only what comes after",
         {IdleTick, Press, Copy, Use, Copy, ConfiguredTickEnd, Press},
         false},
        {"a capture that read nothing: only what comes after",
         {IdleTick, Press, Copy, TickEnd, Press},
         false},
        {"a copy after such a capture is new", {IdleTick, Press, TickEnd, Copy, Press}, true},
        {"the late copy of a capture that gave up is old for the next",
         {IdleTick, Press, Copy, Use, TickEnd, IdleTick, Press, Copy, TickEnd, Press},
         false},
    };
    for (const Case& c : cases) {
        PictureWatch w;
        uint32_t seq = 7;
        w.Restart(seq);
        for (Ev e : c.run) {
            switch (e) {
                case Copy:
                    ++seq;
                    break;
                case OwnCopy:
                    w.OwnWrite(++seq);
                    break;
                case IdleTick:
                    w.IdleTick(seq);
                    break;
                case Press:
                    w.CaptureStarts();
                    w.PressSeen();
                    break;
                case Synthesise:
                    w.KeysSynthesised(seq);
                    break;
                case Use:
                    w.PictureUsed(seq);
                    break;
                case TickEnd:
                    w.CaptureTickEnded(false, seq);
                    break;
                case ConfiguredTickEnd:
                    w.CaptureTickEnded(true, seq);
                    break;
            }
        }
        EXPECT_EQ(w.IsNew(seq, true), c.isNew) << c.what;
        EXPECT_FALSE(w.IsNew(seq, false)) << c.what << ": no bitmap, no picture";
    }
}

TEST(PictureWatch, WithoutClipboardNumbersAnyBitmapCounts) {
    PictureWatch w;
    w.Restart(0);
    w.PressSeen();
    EXPECT_TRUE(w.IsNew(0, true));
    EXPECT_FALSE(w.IsNew(0, false));
}

}  // namespace
}  // namespace orv
