// The emitter's state machine and update against the recording fake of the
// particle library: the exact library calls each operation makes.

#include "Core/Render/ParticleEmitter.h"
#include "MagicFake/MagicFake.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace
{
using magicfake::Fake;
using Calls = std::vector<std::string>;

class ParticleEmitterTest : public testing::Test
{
protected:
    void SetUp() override { Fake::Get().Reset(); }
    Fake& fake = Fake::Get();
};

struct StateCase
{
    int from;
    int to;
    bool interrupted; // the library's answer when asked, after reaching `from`
    bool inInterval;
    Calls calls;
};

TEST_F(ParticleEmitterTest, SetStateMakesExactlyTheCallsOfEachTransition)
{
    const std::string go = "EmitterToInterval1(7, 1, null)";
    const StateCase cases[] = {
        {0, 0, false, false, {}},
        {1, 1, true, false, {}},
        {2, 0, false, true, {}},
        {1, 0, false, true, {"Stop(7)"}},
        {7, 0, false, true, {"Stop(7)"}},
        {0, 1, false, false, {"IsInterrupt(7)", go}},
        {0, 1, true, true, {"IsInterrupt(7)", "SetInterrupt(7, 0)", go}},
        {2, 1, true, true, {"IsInterrupt(7)", "SetInterrupt(7, 0)", "InInterval(7)"}},
        {2, 1, true, false, {"IsInterrupt(7)", "SetInterrupt(7, 0)", "InInterval(7)", go}},
        {7, 1, false, true, {"IsInterrupt(7)", "InInterval(7)"}},
        {0, 2, false, false, {go, "SetInterrupt(7, 1)"}},
        {1, 2, false, true, {"InInterval(7)", "SetInterrupt(7, 1)"}},
        {1, 2, false, false, {"InInterval(7)", go, "SetInterrupt(7, 1)"}},
        {0, 7, false, false, {}},
        {1, 7, false, true, {}},
    };
    for (const StateCase& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        fake.Reset();
        {
            render::ParticleEmitter emitter(7);
            emitter.SetState(c.from);
            fake.emitters[7].interrupt = c.interrupted;
            fake.emitters[7].inInterval = c.inInterval;
            fake.calls.clear();
            emitter.SetState(c.to);
            EXPECT_EQ(fake.calls, c.calls);
            EXPECT_EQ(emitter.mState, c.to);
            fake.calls.clear();
        }
        EXPECT_EQ(fake.calls, Calls{"UnloadEmitter(7)"});
    }
}

struct UpdateCase
{
    int state;
    bool interpolation;
    bool alive; // what the library's update answers
    Calls calls;
    int stateAfter;
};

TEST_F(ParticleEmitterTest, UpdateAdvancesOnlyWhilePlayingAndStopsAtTheEnd)
{
    const UpdateCase cases[] = {
        {0, true, true, {}, 0},
        {7, true, true, {}, 7},
        {1, true, true, {"IsInterpolationMode(7)", "Update(7, 250)"}, 1},
        {2, true, true, {"IsInterpolationMode(7)", "Update(7, 250)"}, 2},
        {1, false, true, {"IsInterpolationMode(7)", "GetUpdateTime(7)", "Update(7, 20)"}, 1},
        {1, true, false, {"IsInterpolationMode(7)", "Update(7, 250)", "Stop(7)"}, 0},
        {2, true, false, {"IsInterpolationMode(7)", "Update(7, 250)"}, 0},
    };
    for (const UpdateCase& c : cases)
    {
        SCOPED_TRACE("state " + std::to_string(c.state) + (c.interpolation ? " interpolated" : " fixed step") +
                     (c.alive ? " alive" : " ending"));
        fake.Reset();
        fake.updateTime = 20;
        render::ParticleEmitter emitter(7);
        emitter.SetState(c.state);
        fake.emitters[7].interpolation = c.interpolation;
        fake.emitters[7].updateResult = c.alive;
        fake.calls.clear();
        emitter.Update(0.25);
        EXPECT_EQ(fake.calls, c.calls);
        EXPECT_EQ(emitter.mState, c.stateAfter);
    }
}

TEST_F(ParticleEmitterTest, CopyDuplicatesTheLibraryEmitterAndStartsStopped)
{
    render::ParticleEmitter prototype(7);
    prototype.SetState(1);
    fake.calls.clear();
    {
        render::ParticleEmitter copy(prototype);
        EXPECT_EQ(copy.mState, 0);
        EXPECT_EQ(copy.GetEmitter(), 101);
        copy.SetState(1);
    }
    EXPECT_EQ(fake.calls,
              (Calls{"DuplicateEmitter(7) = 101", "IsInterrupt(101)", "EmitterToInterval1(101, 1, null)",
                     "UnloadEmitter(101)"}));
}

TEST_F(ParticleEmitterTest, PlacementGoesStraightToTheLibrary)
{
    render::ParticleEmitter emitter(7);
    const float xy[2] = {12.5f, -3};
    emitter.SetPosition(xy, 1);
    emitter.SetDirection(90);
    for (int mode : {0, 1, 2, 3, -1})
        emitter.SetLoopMode(mode);
    const std::array<float, 2> back = emitter.GetPosition();
    EXPECT_EQ(back[0], 12.5f);
    EXPECT_EQ(back[1], -3.0f);
    EXPECT_EQ(fake.calls, (Calls{"SetEmitterPositionMode(7, 1)", "SetEmitterPosition(7, 12.5, -3)",
                                 "SetEmitterDirection(7, 90)", "SetLoopMode(7, 0)", "SetLoopMode(7, 1)",
                                 "SetLoopMode(7, 2)", "SetLoopMode(7, 0)", "SetLoopMode(7, 0)",
                                 "GetEmitterPosition(7)"}));
}
} // namespace
