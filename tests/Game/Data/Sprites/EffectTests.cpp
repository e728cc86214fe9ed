// Particle effects over the real particle library.
#include "GameTestFixture.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Units/NQEffect.h"
#include "Platform/Magic/Magic.h"

#include <gtest/gtest.h>

#include <vector>

// What the library's emitter looked like when it was unloaded.
struct UnloadSeen
{
    int emitter;
    bool interrupted;
};
std::vector<UnloadSeen> gUnloads;

extern "C" void __real_Magic_UnloadEmitter(int emitter);
extern "C" void __wrap_Magic_UnloadEmitter(int emitter)
{
    gUnloads.push_back({emitter, Magic_IsInterrupt(emitter)});
    __real_Magic_UnloadEmitter(emitter);
}

namespace
{
// No picture is loaded (no renderer), but the library wants its atlas declared.
const char* const kLibrary = "<particles version=\"1\"><atlas file=\"fx_atlas.png\"/>"
                             "<emitter name=\"spark\" interval2=\"1000\">"
                             "<type rate=\"20\" life=\"500\" speed=\"10\" color0=\"FFFFFFFF\"/>"
                             "</emitter></particles>";

class EffectTest : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        data->Write("fx/fx2.ptc", kLibrary);
        render::ParticleSystem::Instance()->Load("fx/fx2", nullptr);
        gUnloads.clear();
    }
};

TEST_F(EffectTest, AnUnknownNameGivesAnEffectThatDoesNothing)
{
    auto* effect = new NQEffect("no_such_effect");
    EXPECT_EQ(effect->mEmitter, nullptr);
    EXPECT_EQ(effect->mSpeed, 1.0f);
    effect->Update(0.5f);
    EXPECT_EQ(effect->mTime, 0.0f);
    delete effect;
    EXPECT_TRUE(gUnloads.empty());
}

TEST_F(EffectTest, UpdatingRunsTheEmitterAtTheEffectsSpeed)
{
    NQEffect effect("spark");
    ASSERT_NE(effect.mEmitter, nullptr);
    effect.mSpeed = 2.0f;
    effect.mEmitter->SetState(1);
    auto live = [&]() {
        MagicListRecord list{};
        Magic_CreateFirstRenderedParticlesList(effect.mEmitter->GetEmitter(), &list);
        int count = 0;
        MagicVertexRecord quad;
        while (list.count > 0 && Magic_GetNextParticleVertexes(&quad))
            ++count;
        return count;
    };
    EXPECT_EQ(live(), 0);
    effect.Update(0.25f);
    EXPECT_FLOAT_EQ(effect.mTime, 0.5f);
    // 0.5 s of a 20-per-second stream.
    EXPECT_GE(live(), 8);
}

TEST_F(EffectTest, DeletingAPlayingEffectLetsItPlayToItsEndBeforeTheUnload)
{
    auto* playing = new NQEffect("spark");
    ASSERT_NE(playing->mEmitter, nullptr);
    playing->mEmitter->SetState(1);
    playing->Update(0.1f);
    const int playingId = playing->mEmitter->GetEmitter();
    EXPECT_FALSE(Magic_IsInterrupt(playingId));
    delete playing;

    auto* stopped = new NQEffect("spark");
    const int stoppedId = stopped->mEmitter->GetEmitter();
    delete stopped;

    ASSERT_EQ(gUnloads.size(), 2u);
    EXPECT_EQ(gUnloads[0].emitter, playingId);
    EXPECT_TRUE(gUnloads[0].interrupted);
    EXPECT_EQ(gUnloads[1].emitter, stoppedId);
    EXPECT_FALSE(gUnloads[1].interrupted);
}
} // namespace
