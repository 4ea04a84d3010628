#pragma once

#include <chrono>
#include <memory>

class QProgressBar;

namespace tabulon::transfer {
class ProgressTimer;
}

namespace tabulon::app {

class RegisterSession;

// A transfer's timer on the session's clock, started now; the session
// pauses it while the error dialog asks.
std::shared_ptr<transfer::ProgressTimer> startedTimer(RegisterSession& session);

// The bar's own text while a transfer lasts: the records done, the total and,
// once it can be told, the time left. The value is set with it, so whoever
// watches the bar's value sees the text that goes with it.
void showProgress(QProgressBar& bar, int value, int done, int total,
                  std::chrono::nanoseconds elapsed);
// The bare bar again, at `value`, once the transfer has ended.
void endProgress(QProgressBar& bar, int value = 0);

}  // namespace tabulon::app
