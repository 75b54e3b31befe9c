#include "platform/pump.h"

#include "platform/error.h"

namespace orv::platform {

void PumpPause(Ui& ui, Clock& clock, double seconds) {
    const double start = clock.MonotonicSeconds();
    for (;;) {
        ui.ProcessMessages();
        double left = seconds - (clock.MonotonicSeconds() - start);
        if (left <= 0) return;
        ui.WaitForMessages(left);
    }
}

void RetryWhileBusy(Ui& ui, Clock& clock, const std::function<void()>& op) {
    constexpr int kAttempts = 10;
    for (int attempts = 1;; ++attempts) {
        PumpPause(ui, clock, 0.1);
        try {
            op();
            return;
        } catch (const Error&) {
            if (attempts == kAttempts) throw;
        }
    }
}

}  // namespace orv::platform
