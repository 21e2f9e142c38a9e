// A transfer's progress as one line for a terminal: the label, the
// percentage, a bar and the time left, estimated from the time taken so far.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace qx {

// The time left of work that goes on at the pace it has gone since it started.
class TimeLeftEstimate {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // `done` of `total` at `now`. Work that goes back (the next pass of a
    // transfer) starts the estimate over.
    void Update(int done, int total, TimePoint now);
    // Whole seconds, rounded up; none until some work is done after the start.
    std::optional<std::chrono::seconds> Left() const { return left_; }

  private:
    std::optional<TimePoint> start_;
    int startDone_ = 0;
    int lastDone_ = 0;
    std::optional<std::chrono::seconds> left_;
};

// "0:07", "12:30", "1:02:03".
std::string DurationText(std::chrono::seconds duration);

struct ProgressBarTexts {
    std::string label = "Completed:";
    std::string timeLeft = "%1 left";  // %1: the duration
};

inline constexpr int kProgressBarWidth = 30;

// "Completed:  45% [#############-----------------] 0:12 left"; the
// percentage is rounded half up, the time left shown when known.
std::string ProgressBarLine(const ProgressBarTexts& texts, int done, int total,
                            std::optional<std::chrono::seconds> left);

}  // namespace qx
