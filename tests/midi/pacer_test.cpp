// Pace of the wait steps, on a clock of the test's own: each step ends on its
// millisecond, the work of a step comes out of its sleep, late steps catch up
// only a little, back-to-back waits share one schedule, and the yields come
// at most every interval.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "Midi_Ios.h"
#include "exchange.h"

namespace {

using Clock = WaitStepPacer::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

class PacerTest : public ::testing::Test
{
protected:
    Clock::time_point now = Clock::time_point(std::chrono::hours(1));
    std::vector<Clock::time_point> sleeps;  // the deadline of every sleep
    WaitStepPacer pacer{[this] { return now; },
                        [this](Clock::time_point until) {
                            sleeps.push_back(until);
                            if (until > now)
                                now = until;
                        }};

    // Microseconds from `origin` to the end of each sleep so far.
    std::vector<int64_t> SleepEnds(Clock::time_point origin) const
    {
        std::vector<int64_t> ends;
        for (Clock::time_point t : sleeps)
            ends.push_back(std::chrono::duration_cast<microseconds>(t - origin).count());
        return ends;
    }
};

TEST_F(PacerTest, IdleStepsEndOnTheirMilliseconds)
{
    const Clock::time_point start = now;
    pacer.StartWait();
    for (int i = 0; i < 4; ++i)
        pacer.SleepStep();
    EXPECT_EQ((std::vector<int64_t>{1000, 2000, 3000, 4000}), SleepEnds(start));
}

TEST_F(PacerTest, TheWorkOfAStepComesOutOfItsSleep)
{
    const Clock::time_point start = now;
    pacer.StartWait();
    now += microseconds(400);
    pacer.SleepStep();
    now += microseconds(900);
    pacer.SleepStep();
    EXPECT_EQ((std::vector<int64_t>{1000, 2000}), SleepEnds(start));
    EXPECT_EQ(start + milliseconds(2), now);
}

TEST_F(PacerTest, LateStepsSkipTheirSleepUntilBackOnTime)
{
    const Clock::time_point start = now;
    pacer.StartWait();
    now += microseconds(2500);  // the first step took two and a half steps
    pacer.SleepStep();          // late: no sleep
    pacer.SleepStep();          // due at 2 ms, still late: no sleep
    pacer.SleepStep();          // due at 3 ms: sleeps the half millisecond left
    pacer.SleepStep();
    EXPECT_EQ((std::vector<int64_t>{3000, 4000}), SleepEnds(start));
}

TEST_F(PacerTest, ALongStallIsNotPaidBackByABurst)
{
    pacer.StartWait();
    pacer.SleepStep();
    now += milliseconds(500);  // a modal box, say
    sleeps.clear();
    const Clock::time_point after_stall = now;
    const int lag_steps = static_cast<int>(WaitStepPacer::MAX_LAG / WaitStepPacer::STEP);
    for (int i = 0; i < 1 + lag_steps + 2; ++i)
        pacer.SleepStep();
    // The late step and the steps due within MAX_LAG of it run at once, then
    // the pace is one per millisecond again.
    ASSERT_EQ(2u, sleeps.size());
    EXPECT_EQ((std::vector<int64_t>{1000, 2000}), SleepEnds(after_stall));
}

TEST_F(PacerTest, BackToBackWaitsShareOneSchedule)
{
    const Clock::time_point start = now;
    pacer.StartWait();
    pacer.SleepStep();
    pacer.SleepStep();
    now += microseconds(300);  // the next request goes out
    pacer.StartWait();
    pacer.SleepStep();
    EXPECT_EQ((std::vector<int64_t>{1000, 2000, 3000}), SleepEnds(start));
}

TEST_F(PacerTest, AWaitAfterABreakStartsAfresh)
{
    pacer.StartWait();
    pacer.SleepStep();
    now += milliseconds(100);  // a pause between two common parameters
    const Clock::time_point restart = now;
    sleeps.clear();
    pacer.StartWait();
    pacer.SleepStep();
    pacer.SleepStep();
    EXPECT_EQ((std::vector<int64_t>{1000, 2000}), SleepEnds(restart));
}

TEST_F(PacerTest, AWaitOfNStepsLastsAtLeastNMilliseconds)
{
    // Steps of uneven work, some longer than a step.
    const int work_us[] = {100, 1700, 0, 300, 4200, 50, 900, 999, 0, 12000, 10, 10, 10, 2500, 0};
    const Clock::time_point start = now;
    pacer.StartWait();
    int steps = 0;
    for (int us : work_us) {
        now += microseconds(us);
        pacer.SleepStep();
        ++steps;
        EXPECT_GE(now - start, milliseconds(steps)) << "after step " << steps;
    }
}

TEST_F(PacerTest, YieldsComeAtMostEveryInterval)
{
    EXPECT_TRUE(pacer.YieldDue());
    now += WaitStepPacer::YIELD_INTERVAL - microseconds(1);
    EXPECT_FALSE(pacer.YieldDue());
    now += microseconds(1);
    EXPECT_TRUE(pacer.YieldDue());
    EXPECT_FALSE(pacer.YieldDue());
    now += milliseconds(50);
    EXPECT_TRUE(pacer.YieldDue());
}

TEST_F(PacerTest, StepsAtTheNormalPaceYieldEveryTime)
{
    // Cancel is seen at the next yield: within about a millisecond.
    pacer.StartWait();
    int yields = 0;
    for (int i = 0; i < 10; ++i) {
        now += microseconds(150);
        pacer.SleepStep();
        if (pacer.YieldDue())
            ++yields;
    }
    EXPECT_EQ(10, yields);
}

TEST_F(PacerTest, LateStepsCatchingUpDoNotYieldEveryTime)
{
    pacer.StartWait();
    pacer.SleepStep();
    EXPECT_TRUE(pacer.YieldDue());
    now += milliseconds(3);  // a long frame
    int yields = 0;
    for (int i = 0; i < 3; ++i) {  // the late steps run back to back
        pacer.SleepStep();
        if (pacer.YieldDue())
            ++yields;
    }
    EXPECT_EQ(1, yields);
}

}  // namespace
