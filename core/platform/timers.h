// One-shot timers: the transfer's reply time-out and its delayed close.
#pragma once

#include <chrono>
#include <functional>

namespace qx {

class Timers {
  public:
    using TimerId = int;  // 0 is never a running timer
    virtual ~Timers() = default;
    // Calls `callback` once, `delay` from now, on the owner's thread.
    virtual TimerId Start(std::chrono::milliseconds delay, std::function<void()> callback) = 0;
    // Cancelling a timer that has fired or was cancelled does nothing.
    virtual void Cancel(TimerId id) = 0;
};

}  // namespace qx
