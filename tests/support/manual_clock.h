// Timers driven by hand: time moves only when a test advances it, and due
// callbacks run in time order (then in start order), as the event loop would.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <utility>

#include "platform/timers.h"

namespace qx::test {

class ManualClock final : public Timers {
  public:
    using ms = std::chrono::milliseconds;

    TimerId Start(ms delay, std::function<void()> callback) override {
        const TimerId id = ++lastId_;
        due_.emplace(std::make_pair(now_ + delay, id), std::move(callback));
        return id;
    }
    void Cancel(TimerId id) override {
        for (auto it = due_.begin(); it != due_.end(); ++it) {
            if (it->first.second == id) {
                due_.erase(it);
                return;
            }
        }
    }

    // Runs everything due within `span` from now, including callbacks that
    // those start, then sets the time to now + span.
    void Advance(ms span) {
        const ms end = now_ + span;
        while (!due_.empty() && due_.begin()->first.first <= end) {
            auto node = due_.extract(due_.begin());
            now_ = node.key().first;
            node.mapped()();
        }
        now_ = end;
    }
    // Runs timers until none is left or `limit` has passed.
    void RunUntilIdle(ms limit = ms(3'600'000)) {
        const ms end = now_ + limit;
        while (!due_.empty() && due_.begin()->first.first <= end)
            Advance(due_.begin()->first.first - now_);
    }

    ms Now() const { return now_; }
    bool Idle() const { return due_.empty(); }

  private:
    ms now_{0};
    TimerId lastId_ = 0;
    std::map<std::pair<ms, TimerId>, std::function<void()>> due_;
};

}  // namespace qx::test
