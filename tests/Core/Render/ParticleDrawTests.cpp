// Drawing an emitter's particles through a draw context, with the particle
// library's lists scripted by the recording fake and the draws recorded by
// a renderer without a device.

#include "GraphicsTestSupport.h"
#include "MagicFake/MagicFake.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Math/BoundingBox.h"
#include "Core/Math/Transform3D.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"

#include <gtest/gtest.h>

namespace rendertest
{
namespace
{
using magicfake::Fake;
using magicfake::ScriptedList;

// A square particle of side s centred on (x, y), corners clockwise from the top left.
MagicVertexRecord Square(float x, float y, float s, uint32_t color = 0xFFFFFFFF)
{
    MagicVertexRecord v{};
    const float h = s / 2;
    v.corner[0] = {x - h, y - h, 0, 0};
    v.corner[1] = {x + h, y - h, 1, 0};
    v.corner[2] = {x + h, y + h, 1, 1};
    v.corner[3] = {x - h, y + h, 0, 1};
    v.color = color;
    return v;
}

class ParticleDrawTest : public GraphicsTest
{
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        fake.Reset();
        // Atlas 1 did not load.
        atlases = {new render::Image(new FakeTexture(&r)), nullptr, new render::Image(new FakeTexture(&r))};
        render::ParticleSystem::Instance()->mAtlases = atlases;
        emitter.SetState(1);
        fake.emitters[7].inInterval = true;
        fake.calls.clear();
    }
    void TearDown() override
    {
        render::ParticleSystem::Instance()->ReleaseTextures();
        base::testing::TeardownSingletonsNow();
    }

    // Draws the emitter through an untransformed record; the particle count drawn.
    int Draw(render::ParticleEmitter* which)
    {
        int count = -1;
        {
            auto record = g->DrawParticles(which);
            record->mCountOut = &count;
        }
        return count;
    }
    std::vector<Call> Blends(const std::vector<Call>& calls)
    {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.name == "blend" || c.name == "drawi" || c.name.rfind("texture", 0) == 0)
                out.push_back(c.name == "drawi" ? Call{"drawi", {c.args[3]}} : c);
        return out;
    }
    uint64_t Texture(size_t atlas) { return RecordingRender::Address(atlases[atlas]->GetTexture()); }

    Fake& fake = Fake::Get();
    std::vector<render::Image*> atlases;
    render::ParticleEmitter emitter{7};
};

TEST_F(ParticleDrawTest, AnEmitterThatDoesNotPlayDrawsNothingAndKeepsTheBlendMode)
{
    fake.emitters[7].lists = {{0, 1, {Square(10, 10, 4)}}};
    render::ParticleEmitter stopped(8);
    render::ParticleEmitter other(9);
    other.SetState(7);
    fake.emitters[8] = fake.emitters[9] = fake.emitters[7];
    fake.emitters[7].inInterval = false; // playing, but the library says it is outside its interval
    Begin();
    g->SetBlendMode(0);
    for (render::ParticleEmitter* e : {&stopped, &other, &emitter})
        EXPECT_EQ(Draw(e), 0);
    EXPECT_EQ(g->GetState().mBlendMode, 0);
    EXPECT_TRUE(fake.CallsStartingWith("CreateFirst").empty());
    EXPECT_EQ(fake.vertexReads, 0);
    EXPECT_EQ(Count(End(), "drawi"), 0);
}

TEST_F(ParticleDrawTest, EachListIsOneDrawBlendedByItsKindAndTheBlendModeIsRestored)
{
    fake.emitters[7].lists = {{0, 1, {Square(10, 10, 4), Square(20, 10, 4)}}, {2, 0, {Square(30, 10, 4)}}};
    Begin();
    g->SetBlendMode(0);
    EXPECT_EQ(Draw(&emitter), 3);
    EXPECT_EQ(g->GetState().mBlendMode, 0);
    const std::vector<Call> calls = Blends(End());
    // Intense: additive; the others alpha. One indexed list each: 2 triangles per particle.
    const std::vector<Call> expected = {{"blend", {2}},      {"texture TextureSampler", {Texture(0)}},
                                        {"drawi", {4}},      {"blend", {1}},
                                        {"texture TextureSampler", {Texture(2)}}, {"drawi", {2}}};
    EXPECT_EQ(calls, expected);
}

TEST_F(ParticleDrawTest, AListWithoutItsAtlasPictureIsSkipped)
{
    fake.emitters[7].lists = {
        {5, 0, {Square(1, 1, 2)}},                 // no such atlas
        {1, 0, {Square(2, 2, 2), Square(3, 3, 2)}}, // its picture did not load
        {-1, 1, {Square(4, 4, 2)}},
        {0, 0, {Square(5, 5, 2)}},
    };
    Begin();
    EXPECT_EQ(Draw(&emitter), 1);
    EXPECT_EQ(fake.CallsStartingWith("CreateNext").size(), 4u);
    EXPECT_EQ(fake.vertexReads, 1);
    const std::vector<Call> calls = End();
    ASSERT_EQ(Count(calls, "drawi"), 1);
    EXPECT_EQ(Vertices2D()[0].x, 4.0f - 0.5f); // the quad of the last list
}

TEST_F(ParticleDrawTest, OnlyTheParticlesTheLibraryHandsOutAreDrawn)
{
    // The list claims more particles than it hands out: no unwritten quad may reach the screen.
    fake.emitters[7].lists = {{0, 0, {Square(5, 5, 2)}, 3}, {0, 0, {}, 2}, {2, 0, {Square(9, 9, 2)}}};
    Begin();
    EXPECT_EQ(Draw(&emitter), 2);
    const std::vector<Call> calls = End();
    ASSERT_EQ(Count(calls, "drawi"), 2);
    for (const Call& c : Only(calls, {"drawi"}))
        EXPECT_EQ(c.args[3], 2u) << "primitives";
}

TEST_F(ParticleDrawTest, VerticesCarryTheParticleColourTimesTheContextColourAndWhiteSpecular)
{
    fake.emitters[7].lists = {{0, 0, {Square(10, 20, 4, 0xFFFFFF80), Square(30, 40, 2, 0x80FF0000)}}};
    Begin();
    g->SetColor(0.5f, 1.0f, 0.0f, 1.0f);
    EXPECT_EQ(Draw(&emitter), 2);
    End();
    const render::SVertex2D* v = Vertices2D();
    // Red halved, green kept, blue dropped (channel order ARGB).
    const uint32_t diffuse[2] = {0xFF7FFF00u, 0x807F0000u};
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const float centre[2][2] = {{10, 20}, {30, 40}};
    const float half[2] = {2, 1};
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < 4; ++k)
        {
            SCOPED_TRACE(testing::Message() << "particle " << p << " corner " << k);
            const render::SVertex2D& q = v[4 * p + k];
            EXPECT_EQ(q.x, centre[p][0] + corners[k][0] * half[p] - 0.5f);
            EXPECT_EQ(q.y, centre[p][1] + corners[k][1] * half[p] - 0.5f);
            EXPECT_EQ(q.z, 0.0f);
            EXPECT_EQ(q.w, 1.0f);
            EXPECT_EQ(q.u, uv[k][0]);
            EXPECT_EQ(q.v, uv[k][1]);
            EXPECT_EQ(q.diffuse, diffuse[p]);
            EXPECT_EQ(q.specular, 0xFFFFFFFFu); // no tint on particles
        }
    const std::vector<uint16_t> indices(Indices16(), Indices16() + 12);
    EXPECT_EQ(indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
}

TEST_F(ParticleDrawTest, TheBoxesAreTakenBeforeAndAfterTheRecordsTransform)
{
    fake.emitters[7].lists = {{0, 0, {Square(14, 24, 8)}}, {2, 1, {Square(0, 0, 2)}}};
    math::Transform3D world;
    world.Translate(1000, 0, 0);
    math::Transform2D move;
    move.Translate(100, 50);
    math::BoundingBox local, moved;
    int count = -1;
    Begin();
    g->mWorldTransform = &world;
    {
        auto record = g->DrawParticles(&emitter).Transform(move);
        record->mLocalBoxOut = &local;
        record->mTransformedBoxOut = &moved;
        record->mCountOut = &count;
    }
    End();
    EXPECT_EQ(count, 2);
    EXPECT_EQ(local.mMin.x, -1.0f);
    EXPECT_EQ(local.mMin.y, -1.0f);
    EXPECT_EQ(local.mMax.x, 18.0f);
    EXPECT_EQ(local.mMax.y, 28.0f);
    // The world transform comes after the transformed box.
    EXPECT_EQ(moved.mMin.x, 99.0f);
    EXPECT_EQ(moved.mMin.y, 49.0f);
    EXPECT_EQ(moved.mMax.x, 118.0f);
    EXPECT_EQ(moved.mMax.y, 78.0f);
    EXPECT_EQ(Vertices2D()[0].x, 10.0f + 100.0f + 1000.0f - 0.5f);
    EXPECT_EQ(Vertices2D()[0].y, 20.0f + 50.0f - 0.5f);
}

TEST_F(ParticleDrawTest, AListTooLargeForTheCachesFailsAndTheBlendModeIsStillRestored)
{
    ScriptedList big{0, 1, std::vector<MagicVertexRecord>(3000, Square(5, 5, 2))};
    fake.emitters[7].lists = {big};
    Begin();
    g->SetBlendMode(0);
    render::ParticleDrawOutput out;
    EXPECT_NE(emitter.Draw(g.get(), nullptr, out), 0);
    EXPECT_EQ(out.count, 0);
    EXPECT_EQ(g->GetState().mBlendMode, 0);
    // Through a record the failure is dropped: nothing is drawn and the frame goes on.
    EXPECT_EQ(Draw(&emitter), -1);
    EXPECT_EQ(g->GetState().mBlendMode, 0);
    EXPECT_EQ(Count(End(), "drawi"), 0);
}

TEST_F(ParticleDrawTest, ANullEmitterDrawsNothingAndReportsNoParticles)
{
    math::BoundingBox local(math::Vector3(1, 1, 1), math::Vector3(2, 2, 2));
    int count = -1;
    Begin();
    {
        auto record = g->DrawParticles(nullptr);
        record->mCountOut = &count;
        record->mLocalBoxOut = &local;
    }
    EXPECT_EQ(count, 0);
    EXPECT_GT(local.mMin.x, local.mMax.x); // emptied
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(Count(End(), "drawi"), 0);
}
} // namespace
} // namespace rendertest
