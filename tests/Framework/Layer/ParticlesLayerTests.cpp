// The particles layer over the recording renderer, with the particle
// library's lists scripted by its recording fake.
#include "Framework/Layer/ParticlesLayer.h"
#include "LayerDrawFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/MagicFake/MagicFake.h"

namespace layertest
{
namespace
{
using magicfake::Fake;

class ParticlesLayerTest : public LayerDrawTest
{
protected:
    void SetUp() override
    {
        LayerDrawTest::SetUp();
        mFake.Reset();
        mAtlas = new render::Image(new rendertest::FakeTexture(&mRender));
        render::ParticleSystem::Instance()->mAtlases = {mAtlas};
        // One alpha-blended particle of side 4 centred on (10, 10).
        MagicVertexRecord v{};
        v.corner[0] = {8, 8, 0, 0};
        v.corner[1] = {12, 8, 1, 0};
        v.corner[2] = {12, 12, 1, 1};
        v.corner[3] = {8, 12, 0, 1};
        v.color = 0xFFFFFFFF;
        mFake.emitters[7].inInterval = true;
        mFake.emitters[7].lists = {{0, 0, {v}}};
    }
    void TearDown() override
    {
        render::ParticleSystem::Instance()->ReleaseTextures();
        base::testing::TeardownSingletonsNow();
    }

    Fake& mFake = Fake::Get();
    render::Image* mAtlas = nullptr;
};

TEST_F(ParticlesLayerTest, WithoutEmitterNothingIsDrawn)
{
    layer::ParticlesLayer l;
    const auto calls = Frame([&](render::Graphics& g) {
        g.SetBlendMode(0);
        EXPECT_EQ(l.Render(&g), HV_OK);
        EXPECT_EQ(g.GetState().mBlendMode, 0); // not even the blend mode was touched
    });
    EXPECT_TRUE(rendertest::Only(calls, {"drawi"}).empty());
}

TEST_F(ParticlesLayerTest, DrawsAtItsPlaceAlwaysAlphaBlendedAndRestoresTheContext)
{
    auto* emitter = new render::ParticleEmitter(7);
    emitter->SetState(1);
    layer::ParticlesLayer l;
    l.SetEmitter(emitter, true);
    l.SetPosition(100, 0, 0);
    l.mAdditive = true; // ignored by particles
    l.mTint = true;
    l.mTintAmount = 0.5f;
    CallerState caller;
    const auto calls = Frame([&](render::Graphics& g) {
        g.SetBlendMode(0);
        caller.Apply(g, mRender.GetTexturedTintShaderObject());
        EXPECT_EQ(l.Render(&g), HV_OK);
        EXPECT_EQ(g.GetState().mBlendMode, 1);
        caller.ExpectRestored(g);
    });
    ASSERT_EQ(rendertest::Only(calls, {"drawi"}).size(), 1u);
    auto* buffer = static_cast<rendertest::MemoryVertexBuffer*>(
        render::GetVertexCache<render::SVertex2D>(&mRender)->GetMain()->mImpl);
    const auto* v = reinterpret_cast<const render::SVertex2D*>(buffer->mMemory.data());
    EXPECT_FLOAT_EQ(v[0].x, 108.0f - 0.5f); // moved by the layer's world transform
}

TEST_F(ParticlesLayerTest, OwnedEmittersAreDeletedBorrowedOnesKept)
{
    render::ParticleEmitter borrowed(7);
    {
        layer::ParticlesLayer l;
        l.SetEmitter(new render::ParticleEmitter(7), true);
        l.SetEmitter(l.GetEmitter(), true); // the same emitter again stays alive
        l.SetEmitter(&borrowed, false);     // the owned one is deleted here (ASan would see a leak)
        EXPECT_EQ(l.GetEmitter(), &borrowed);
    }
    EXPECT_EQ(borrowed.GetEmitter(), 7);
}
} // namespace
} // namespace layertest
