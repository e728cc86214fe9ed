// The frames shown while the start-up loads: the first at once, then one
// whenever a frame's time has passed at a loading step, each with the time
// gone since the last.
#include "Game/StartupFrames.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StartupFrames, AFrameAtOnceThenOneAtTheFirstStepAfterEachInterval)
{
    double now = 10.0;
    std::vector<float> shown;
    StartupFrames frames([&now] { return now; }, [&shown](float dt) { shown.push_back(dt); });
    frames.Tick();
    ASSERT_EQ(shown, std::vector<float>{0.0f});
    struct Step
    {
        double advance;
        bool frame;
    } steps[] = {
        {0.01, false}, {0.02, false}, {0.019, false}, {0.002, true}, // 0.051 since the first
        {0.049, false}, {0.3, true},                                 // a long step: one frame, not several
        {0.0, false},   {0.05, true},
    };
    double last = 10.0;
    for (const Step& step : steps)
    {
        now += step.advance;
        const size_t before = shown.size();
        frames.Tick();
        ASSERT_EQ(shown.size(), before + (step.frame ? 1 : 0)) << "at " << now;
        if (step.frame)
        {
            EXPECT_NEAR(shown.back(), now - last, 1e-6);
            last = now;
        }
    }
    EXPECT_EQ(frames.GetFramesShown(), 4);
}

TEST(StartupFrames, AStepInsideAFrameShowsNoFrameOfItsOwn)
{
    double now = 0.0;
    int shown = 0;
    StartupFrames* self = nullptr;
    StartupFrames frames([&now] { return now; }, [&](float) {
        ++shown;
        now += 1.0; // the frame itself loads something
        self->Tick();
    });
    self = &frames;
    frames.Tick();
    EXPECT_EQ(shown, 1);
    frames.Tick();
    EXPECT_EQ(shown, 2);
}
