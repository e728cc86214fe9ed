// The pacing of presents, on a clock the test moves by hand.
#include "Platform/D3D9/PresentPacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using d3d9::PresentPacer;
using Clock = PresentPacer::Clock;
using std::chrono::milliseconds;

struct PacingCase
{
    const char* name;
    milliseconds period;
    // The work of each frame before its present.
    std::vector<int> workMs;
    // When each present goes out, from the start.
    std::vector<int> presentsAtMs;
};

class Pacing : public testing::TestWithParam<PacingCase>
{
};

TEST_P(Pacing, PresentsGoOutOnTheDisplaysRhythm)
{
    const PacingCase& c = GetParam();
    Clock::time_point now{};
    int sleeps = 0;
    PresentPacer pacer([&] { return now; },
                       [&](Clock::time_point until) {
                           EXPECT_GT(until, now) << "a sleep into the past";
                           now = until;
                           ++sleeps;
                       });
    pacer.SetPeriod(c.period);
    std::vector<int> presents;
    for (int work : c.workMs)
    {
        now += milliseconds(work);
        pacer.Wait();
        presents.push_back(int(std::chrono::duration_cast<milliseconds>(now.time_since_epoch()).count()));
    }
    EXPECT_EQ(presents, c.presentsAtMs);
    if (c.period == milliseconds(0))
    {
        EXPECT_EQ(sleeps, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Pacing,
    testing::Values(
        PacingCase{"FastFramesWaitOutEachPeriod", milliseconds(16), {2, 2, 2, 2}, {2, 18, 34, 50}},
        // Late by less than a period: no wait, and the next frame is back on the beat.
        PacingCase{"SlowFrameKeepsTheRhythm", milliseconds(16), {2, 2, 20, 2, 2}, {2, 18, 38, 50, 66}},
        // A whole period late: the beat starts again from that present, with no burst.
        PacingCase{"FrameLateByAWholePeriodStartsAgain", milliseconds(16), {2, 2, 40, 2}, {2, 18, 58, 74}},
        PacingCase{"ExactlyOnTheBeatNeverSleeps", milliseconds(16), {16, 16, 16}, {16, 32, 48}},
        PacingCase{"ZeroPeriodNeverWaits", milliseconds(0), {2, 2, 2}, {2, 4, 6}}),
    [](const testing::TestParamInfo<PacingCase>& info) { return std::string(info.param.name); });

TEST(Pacing, NewPeriodStartsTheBeatAgain)
{
    Clock::time_point now{};
    PresentPacer pacer([&] { return now; }, [&](Clock::time_point until) { now = until; });
    pacer.SetPeriod(milliseconds(16));
    pacer.Wait();
    now += milliseconds(1);
    pacer.Wait(); // sleeps to 16
    pacer.SetPeriod(milliseconds(10));
    now += milliseconds(1);
    pacer.Wait(); // the first present of the new period goes at once
    EXPECT_EQ(now, Clock::time_point(milliseconds(17)));
    pacer.Wait();
    EXPECT_EQ(now, Clock::time_point(milliseconds(27)));
}

struct RefreshCase
{
    int hertz;
    long long nanoseconds;
};

class Refresh : public testing::TestWithParam<RefreshCase>
{
};

TEST_P(Refresh, PeriodOfTheDisplay)
{
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::nanoseconds>(d3d9::RefreshPeriod(GetParam().hertz)).count(),
              GetParam().nanoseconds);
}

INSTANTIATE_TEST_SUITE_P(Table, Refresh,
                         testing::Values(RefreshCase{60, 16'666'666}, RefreshCase{144, 6'944'444},
                                         // Unknown: 60 Hz.
                                         RefreshCase{0, 16'666'666}, RefreshCase{-1, 16'666'666}));

} // namespace
