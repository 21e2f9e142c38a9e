#include "util/progress_bar.h"

#include <algorithm>

#include "util/text.h"

namespace qx {

void TimeLeftEstimate::Update(int done, int total, TimePoint now) {
    if (!start_ || done < lastDone_) {
        start_ = now;
        startDone_ = done;
        left_.reset();
    }
    lastDone_ = done;
    if (done <= startDone_ || total <= done) {
        if (total <= done) left_ = std::chrono::seconds(0);
        return;
    }
    const auto elapsed = now - *start_;
    const auto left = elapsed * (total - done) / (done - startDone_);
    left_ = std::chrono::ceil<std::chrono::seconds>(left);
}

std::string DurationText(std::chrono::seconds duration) {
    const long long total = std::max<long long>(duration.count(), 0);
    const auto twoDigits = [](long long value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    const long long hours = total / 3600;
    const long long minutes = total / 60 % 60;
    const std::string seconds = twoDigits(total % 60);
    if (hours > 0) return std::to_string(hours) + ":" + twoDigits(minutes) + ":" + seconds;
    return std::to_string(minutes) + ":" + seconds;
}

std::string ProgressBarLine(const ProgressBarTexts& texts, int done, int total,
                            std::optional<std::chrono::seconds> left) {
    const int shown = total > 0 ? std::clamp(done, 0, total) : 0;
    // Rounded down, as the bar is: 100% only once the last line is done.
    const int percent = total > 0 ? shown * 100 / total : 0;
    const int filled = total > 0 ? shown * kProgressBarWidth / total : 0;
    std::string percentText = std::to_string(percent) + "%";
    percentText.insert(0, 4 - percentText.size(), ' ');
    std::string line = texts.label + " " + percentText + " [" + std::string(filled, '#') +
                       std::string(kProgressBarWidth - filled, '-') + "]";
    if (left) line += " " + FillPlaceholders(texts.timeLeft, {DurationText(*left)});
    return line;
}

}  // namespace qx
