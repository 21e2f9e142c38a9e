// Qt one-shot timers: order, cancelling, and what the destructor stops.
#include "qt_timers.h"

#include <set>
#include <string>
#include <vector>

#include "qt_app_environment.h"

namespace {

using namespace std::chrono_literals;
using qx::test::RunEventsFor;
using qx::test::RunEventsUntil;

const auto* const kQtApp = ::testing::AddGlobalTestEnvironment(new qx::test::QtAppEnvironment);

TEST(QtTimers, FireOnceInTimeOrderThenStartOrder) {
    qx::QtTimers timers;
    std::string fired;
    timers.Start(40ms, [&] { fired += 'c'; });
    timers.Start(20ms, [&] { fired += 'a'; });
    timers.Start(20ms, [&] { fired += 'b'; });
    timers.Start(0ms, [&] { fired += '0'; });
    ASSERT_TRUE(RunEventsUntil([&] { return fired.size() == 4; }));
    RunEventsFor(60ms);
    EXPECT_EQ(fired, "0abc");
    EXPECT_EQ(timers.RunningCount(), 0u);
}

TEST(QtTimers, IdsAreDistinctAndNeverZero) {
    qx::QtTimers timers;
    std::set<qx::Timers::TimerId> ids;
    for (int i = 0; i < 50; ++i) ids.insert(timers.Start(1h, [] {}));
    EXPECT_EQ(ids.size(), 50u);
    EXPECT_FALSE(ids.contains(0));
}

TEST(QtTimers, CancelStopsOnlyThatTimerAndIgnoresUnknownIds) {
    qx::QtTimers timers;
    std::string fired;
    const auto a = timers.Start(10ms, [&] { fired += 'a'; });
    const auto b = timers.Start(10ms, [&] { fired += 'b'; });
    timers.Cancel(a);
    timers.Cancel(a);
    timers.Cancel(0);
    timers.Cancel(b + 1000);
    ASSERT_TRUE(RunEventsUntil([&] { return !fired.empty(); }));
    timers.Cancel(b);  // fired already
    RunEventsFor(30ms);
    EXPECT_EQ(fired, "b");
}

TEST(QtTimers, CallbacksMayStartAndCancelTimers) {
    qx::QtTimers timers;
    std::vector<std::string> fired;
    qx::Timers::TimerId timeout = 0;
    qx::Timers::TimerId self = 0;
    // As the transfer does: a reply cancels its time-out and starts the next one.
    timeout = timers.Start(30ms, [&] { fired.push_back("timeout"); });
    self = timers.Start(0ms, [&] {
        fired.push_back("reply");
        timers.Cancel(self);  // its own id: already spent
        timers.Cancel(timeout);
        timers.Start(0ms, [&] { fired.push_back("next"); });
    });
    ASSERT_TRUE(RunEventsUntil([&] { return fired.size() == 2; }));
    RunEventsFor(60ms);
    EXPECT_EQ(fired, (std::vector<std::string>{"reply", "next"}));
}

TEST(QtTimers, DestructionStopsRunningTimers) {
    bool fired = false;
    {
        qx::QtTimers timers;
        timers.Start(0ms, [&] { fired = true; });
        timers.Start(5ms, [&] { fired = true; });
    }
    RunEventsFor(30ms);
    EXPECT_FALSE(fired);
}

}  // namespace
