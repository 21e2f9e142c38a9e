#include "util/progress_bar.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using qx::ProgressBarLine;
using qx::TimeLeftEstimate;

TEST(ProgressBar, LineHasLabelPercentageBarAndTimeLeft) {
    const qx::ProgressBarTexts texts;
    struct Case {
        int done;
        int total;
        std::optional<std::chrono::seconds> left;
        std::string line;
    };
    const Case cases[] = {
        {0, 512, std::nullopt, "Completed:   0% [------------------------------]"},
        {3, 512, 95s, "Completed:   0% [------------------------------] 1:35 left"},
        {256, 512, 12s, "Completed:  50% [###############---------------] 0:12 left"},
        {511, 512, 1s, "Completed:  99% [#############################-] 0:01 left"},
        {512, 512, 0s, "Completed: 100% [##############################] 0:00 left"},
        {600, 512, 0s, "Completed: 100% [##############################] 0:00 left"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressBarLine(texts, c.done, c.total, c.left), c.line) << c.done;
    }
    EXPECT_EQ(ProgressBarLine({"已完成：", "剩余 %1"}, 128, 512, 75s),
              "已完成：  25% [#######-----------------------] 剩余 1:15");
}

TEST(ProgressBar, DurationsBelowAndAboveAnHour) {
    EXPECT_EQ(qx::DurationText(0s), "0:00");
    EXPECT_EQ(qx::DurationText(59s), "0:59");
    EXPECT_EQ(qx::DurationText(750s), "12:30");
    EXPECT_EQ(qx::DurationText(3723s), "1:02:03");
}

TEST(ProgressBar, TimeLeftFollowsThePaceSinceTheStartOfThePass) {
    const TimeLeftEstimate::TimePoint start{};
    TimeLeftEstimate estimate;
    estimate.Update(0, 512, start);
    EXPECT_EQ(estimate.Left(), std::nullopt) << "nothing done yet";
    estimate.Update(128, 512, start + 10s);
    EXPECT_EQ(estimate.Left(), 30s);
    // A fraction of a second is rounded up.
    estimate.Update(200, 512, start + 15s);
    EXPECT_EQ(estimate.Left(), 24s);  // 15 s × 312 / 200 = 23.4 s
    estimate.Update(512, 512, start + 40s);
    EXPECT_EQ(estimate.Left(), 0s);
    // The next pass starts from 0 again: its own pace counts.
    estimate.Update(0, 512, start + 41s);
    EXPECT_EQ(estimate.Left(), std::nullopt);
    estimate.Update(256, 512, start + 43s);
    EXPECT_EQ(estimate.Left(), 2s);
}

}  // namespace
