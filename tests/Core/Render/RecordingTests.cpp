#include "RecordingRender.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/Vertices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace rendertest
{
namespace
{
using render::RenderState;

class RecordingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(r.Init(), HV_OK);
        block = Block(r.GetTexturedMultShaderObject());
        r.mTarget = new FakeTexture(&r);
    }

    RenderState Block(render::Shader* shader)
    {
        RenderState b;
        b.mShader = shader->GetImpl();
        b.mVertexBuffer = render::GetVertexCache<render::SVertex2D>(&r)->GetMain()->mImpl;
        b.mIndexBuffer = r.GetIndexCache16()->GetMain()->mImpl;
        b.mBlendMode = 1;
        return b;
    }

    // Runs one whole frame around the steps and returns the replayed calls.
    std::vector<Call> Frame(const std::function<void()>& steps)
    {
        EXPECT_EQ(r.BeginFrame(), HV_OK);
        steps();
        EXPECT_EQ(r.EndFrame(), HV_OK);
        EXPECT_EQ(r.Present(), HV_OK);
        r.mCalls.clear();
        EXPECT_EQ(r.ExecuteCommands(), HV_OK);
        return r.mCalls;
    }

    render::ShaderTextureVariable<1>* Sampler() { return r.GetTexturedMultShaderObject()->GetTextureVariable(); }

    RecordingRender r;
    RenderState block;
};

struct MergeCase
{
    const char* name;
    std::function<void(render::Render&, render::ShaderTextureVariable<1>*)> steps;
    std::vector<Call> draws;
};

TEST_F(RecordingTest, DrawsMergeOnlyWhenTheyContinueUnderTheSameState)
{
    FakeTexture other(&r);
    const std::vector<MergeCase> cases = {
        {"indexed lists continue",
         [](render::Render& r, auto*) {
             r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
             r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
         },
         {{"drawi", {3, 2, 0, 4, 0, 8}}}},
        {"texture change splits",
         [&other](render::Render& r, render::ShaderTextureVariable<1>* sampler) {
             r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
             sampler->Set(&other);
             r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
         },
         {{"drawi", {3, 2, 0, 2, 0, 4}}, {"drawi", {3, 2, 6, 2, 4, 4}}}},
        {"triangle strips never merge",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(4, 0, 2);
             r.DrawPrimitive(4, 4, 2);
         },
         {{"draw", {4, 0, 2}}, {"draw", {4, 4, 2}}}},
        {"line strips never merge",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(2, 0, 1);
             r.DrawPrimitive(2, 2, 1);
         },
         {{"draw", {2, 0, 1}}, {"draw", {2, 2, 1}}}},
        {"fans never merge",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(5, 0, 2);
             r.DrawPrimitive(5, 4, 2);
         },
         {{"draw", {5, 0, 2}}, {"draw", {5, 4, 2}}}},
        {"indexed after plain",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(3, 0, 2);
             r.DrawIndexedPrimitive(3, 6, 2, 6, 4);
         },
         {{"draw", {3, 0, 2}}, {"drawi", {3, 2, 6, 2, 6, 4}}}},
        {"plain after indexed",
         [](render::Render& r, auto*) {
             r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
             r.DrawPrimitive(3, 6, 2);
         },
         {{"drawi", {3, 2, 0, 2, 0, 4}}, {"draw", {3, 6, 2}}}},
        {"start that does not continue",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(3, 0, 2);
             r.DrawPrimitive(3, 9, 1);
         },
         {{"draw", {3, 0, 2}}, {"draw", {3, 9, 1}}}},
        {"line lists continue",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(1, 0, 2);
             r.DrawPrimitive(1, 4, 3);
         },
         {{"draw", {1, 0, 5}}}},
        {"points continue",
         [](render::Render& r, auto*) {
             r.DrawPrimitive(0, 0, 2);
             r.DrawPrimitive(0, 2, 2);
         },
         {{"draw", {0, 0, 4}}}},
        {"vertex range widens both ways",
         [](render::Render& r, auto*) {
             r.DrawIndexedPrimitive(3, 0, 2, 8, 4);
             r.DrawIndexedPrimitive(3, 6, 2, 0, 4);
         },
         {{"drawi", {3, 2, 0, 4, 0, 12}}}},
        {"no draw writes nothing", [](render::Render&, auto*) {}, {}},
    };
    for (const MergeCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Sampler()->Set(r.mTarget);
        const auto calls = Frame([&] {
            r.SetState(&block, true);
            c.steps(r, Sampler());
        });
        EXPECT_EQ(Only(calls, {"draw", "drawi"}), c.draws);
    }
}

TEST_F(RecordingTest, TextureChangeRecordsTheVariablesBetweenTheDraws)
{
    FakeTexture other(&r);
    Sampler()->Set(r.mTarget);
    const auto calls = Frame([&] {
        r.SetState(&block, false);
        r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
        Sampler()->Set(&other);
        r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
    });
    const auto seen = Only(calls, {"drawi", "texture TextureSampler"});
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], (Call{"texture TextureSampler", {RecordingRender::Address(r.mTarget)}}));
    EXPECT_EQ(seen[1].name, "drawi");
    EXPECT_EQ(seen[2], (Call{"texture TextureSampler", {RecordingRender::Address(&other)}}));
    EXPECT_EQ(seen[3].name, "drawi");
}

TEST_F(RecordingTest, FrameWithoutDrawsRecordsBeginEndPresentEnd)
{
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    ASSERT_EQ(r.EndFrame(), HV_OK);
    ASSERT_EQ(r.Present(), HV_OK);
    EXPECT_EQ(r.RecordedOpcodes(), (std::vector<uint32_t>{1, 2, 3}));
    ASSERT_EQ(r.ExecuteCommands(), HV_OK);
    EXPECT_EQ(r.CallNames(), (std::vector<std::string>{"begin", "end", "present"}));
    uint32_t ops[4];
    std::memcpy(ops, r.GetCommandBuffer().GetData(), sizeof ops);
    EXPECT_EQ(std::vector<uint32_t>(ops, ops + 4), (std::vector<uint32_t>{1, 2, 3, 18}));
    EXPECT_EQ(r.GetCommandBuffer().GetPosition(), 0u);
}

TEST_F(RecordingTest, ClearThatChangesTheTargetRecordsItOnceAndTheFlushResendsTheScissor)
{
    RenderState onTarget = block;
    onTarget.mTarget = r.mTarget;
    const float colour[4] = {1, 0, 0, 1};
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    r.SetState(&block, false);
    r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
    r.SetTarget(&onTarget);
    ASSERT_EQ(r.Clear(1, colour, 1.0f, 0), HV_OK);
    r.SetState(&onTarget, false);
    r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
    ASSERT_EQ(r.EndFrame(), HV_OK);
    const auto ops = r.RecordedOpcodes();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), 4u), 1);
    const auto clear = std::find(ops.begin(), ops.end(), 0u);
    ASSERT_NE(clear, ops.end());
    EXPECT_EQ(*(clear - 1), 4u);
    EXPECT_EQ(std::vector<uint32_t>(clear + 1, ops.end()), (std::vector<uint32_t>{12, 13, 17, 2}));
}

TEST_F(RecordingTest, SetStateComparesTheBlockByIdentityUnlessForced)
{
    r.SetState(&block, false);
    block.mBlendMode = 2;
    r.SetState(&block, false);
    EXPECT_EQ(r.GetPendingState().mBlendMode, 1);
    r.SetState(&block, true);
    EXPECT_EQ(r.GetPendingState().mBlendMode, 2);
    RenderState copy = block;
    copy.mBlendMode = 0;
    r.SetState(&copy, false);
    EXPECT_EQ(r.GetPendingState().mBlendMode, 0);
}

TEST_F(RecordingTest, MappingIsTakenOnlyWithATargetChange)
{
    RenderState b = block;
    b.mScaleX = 2.0f;
    r.SetState(&b, false);
    EXPECT_EQ(r.GetPendingState().mScaleX, 1.0f);
    b.mTarget = r.mTarget;
    r.SetState(&b, true);
    EXPECT_EQ(r.GetPendingState().mScaleX, 2.0f);
}

TEST_F(RecordingTest, OrthoProjectionMapsCornersAndCentre)
{
    math::Matrix4 m;
    ASSERT_EQ(r.MakeOrthoProjection(800, 600, 0, &m), HV_OK);
    struct Row
    {
        float x, y, cx, cy;
    };
    for (const Row& row : {Row{0, 0, -1, 1}, Row{800, 600, 1, -1}, Row{400, 300, 0, 0}})
    {
        const float cx = row.x * m.m[0] + row.y * m.m[4] + m.m[12];
        const float cy = row.x * m.m[1] + row.y * m.m[5] + m.m[13];
        const float cw = row.x * m.m[3] + row.y * m.m[7] + m.m[15];
        EXPECT_FLOAT_EQ(cx, row.cx);
        EXPECT_FLOAT_EQ(cy, row.cy);
        EXPECT_FLOAT_EQ(cw, 1.0f);
    }
}

TEST_F(RecordingTest, VirtualToViewportRectScalesOffsetsAndClampsAtZero)
{
    struct Row
    {
        float scale, offsetX;
        float in[4];
        uint32_t out[4];
    };
    const Row rows[] = {
        {1.5f, 10, {2, 4, 100, 50}, {13, 6, 150, 75}},
        {1.0f, 0, {-5, -3, 20, 10}, {0, 0, 15, 7}},
        {1.0f, 0, {-30, 2, 20, 10}, {0, 2, 0, 10}},
        {1.0f, -20, {5, 0, 10, 4}, {0, 0, 0, 4}},
        {2.0f, 0, {0.75f, 1.2f, 3, 3}, {1, 2, 6, 6}},
    };
    for (const Row& row : rows)
    {
        RenderState b = block;
        b.mTarget = r.mTarget;
        b.mScaleX = b.mScaleY = row.scale;
        b.mOffsetX = row.offsetX;
        r.SetState(&b, true);
        uint32_t out[4];
        ASSERT_EQ(r.VirtualToViewportRect(row.in, out), HV_OK);
        EXPECT_EQ(std::vector<uint32_t>(out, out + 4), std::vector<uint32_t>(row.out, row.out + 4))
            << row.in[0] << "," << row.in[1];
        RenderState back = block;
        r.SetState(&back, true);
    }
}

TEST_F(RecordingTest, SixtyFourBitPointersSurviveTheStream)
{
    render::ShaderImpl* impl = block.mShader;
    auto* colour = new render::ShaderScalarVariable<math::Point4, 1>(impl, impl->CreateScalarVariable("color2", 1));
    impl->AddVariable(colour);
    colour->Set(math::Point4(1, 2, 3, 4));
    auto projection = std::make_unique<math::Matrix4>(true);
    auto texture = std::make_unique<FakeTexture>(&r);
    const uint64_t high = uint64_t(1) << 32;
    ASSERT_GE(RecordingRender::Address(projection.get()), high) << "the heap must lie above 4 GiB for this test";
    ASSERT_GE(RecordingRender::Address(texture.get()), high);
    ASSERT_GE(RecordingRender::Address(impl), high);
    r.GetTexturedMultShaderObject()->SetProjection(projection.get());
    Sampler()->Set(texture.get());
    RenderState b = block;
    b.mTarget = r.mTarget;

    ASSERT_EQ(r.BeginFrame(), HV_OK);
    r.SetState(&b, false);
    ASSERT_EQ(r.FlushState(), HV_OK);
    const auto ops = r.RecordedOpcodes();
    ASSERT_EQ(ops.back(), 7u);
    // opcode, shader pointer, then count, three indices, two pointers, four floats.
    const size_t p = sizeof(void*);
    const uint32_t end = r.GetCommandBuffer().GetPosition();
    const uint32_t blockStart = end - uint32_t(1 + 3 + 2 * p + 16);
    uint32_t op;
    std::memcpy(&op, r.GetCommandBuffer().GetData() + blockStart - p - 4, 4);
    EXPECT_EQ(op, 7u);
    EXPECT_EQ(r.GetCommandBuffer().GetData()[blockStart], 3);

    ASSERT_EQ(r.EndFrame(), HV_OK);
    ASSERT_EQ(r.ExecuteCommands(), HV_OK);
    const auto got = Only(r.mCalls, {"target", "shader", "vb", "ib", "matrix Proj", "texture TextureSampler",
                                     "vector color2"});
    const std::vector<Call> want = {
        {"target", {RecordingRender::Address(r.mTarget)}},
        {"shader", {RecordingRender::Address(impl)}},
        {"vb", {RecordingRender::Address(b.mVertexBuffer)}},
        {"ib", {RecordingRender::Address(b.mIndexBuffer)}},
        {"matrix Proj", {RecordingRender::Address(projection.get())}},
        {"texture TextureSampler", {RecordingRender::Address(texture.get())}},
        {"vector color2", {1, 2, 3, 4}},
    };
    EXPECT_EQ(got, want);
}

TEST_F(RecordingTest, VariablesAreRecordedOnlyWhenChangedAndAgainAfterASwitchBack)
{
    math::Matrix4 projection(true);
    r.GetTexturedMultShaderObject()->SetProjection(&projection);
    Sampler()->Set(r.mTarget);
    RenderState other = Block(r.GetTexturedTintShaderObject());
    r.GetTexturedTintShaderObject()->SetProjection(&projection);
    r.GetTexturedTintShaderObject()->GetTextureVariable()->Set(r.mTarget);

    ASSERT_EQ(r.BeginFrame(), HV_OK);
    r.SetState(&block, false);
    r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
    r.GetTexturedMultShaderObject()->SetProjection(&projection);
    Sampler()->Set(r.mTarget);
    r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
    auto ops = r.RecordedOpcodes();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), 7u), 1);

    r.SetState(&other, false);
    r.DrawIndexedPrimitive(3, 12, 2, 8, 4);
    r.SetState(&block, false);
    r.DrawIndexedPrimitive(3, 18, 2, 12, 4);
    ASSERT_EQ(r.EndFrame(), HV_OK);
    ops = r.RecordedOpcodes();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), 7u), 3);
    ASSERT_EQ(r.ExecuteCommands(), HV_OK);
    // The switch back re-sends both of the first shader's variables.
    EXPECT_EQ(Only(r.mCalls, {"matrix Proj"}).size(), 3u);
    EXPECT_EQ(Only(r.mCalls, {"texture TextureSampler"}).size(), 3u);
}

TEST_F(RecordingTest, AnAbandonedFrameIsDroppedAndTheNextResendsEveryState)
{
    Sampler()->Set(r.mTarget);
    Frame([&] {
        r.SetState(&block, false);
        r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
    });
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    r.SetState(&block, true);
    r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
    // The frame returns here without EndFrame.

    ASSERT_EQ(r.BeginFrame(), HV_OK);
    r.SetState(&block, false);
    r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
    ASSERT_EQ(r.EndFrame(), HV_OK);
    const auto ops = r.RecordedOpcodes();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front(), 1u);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), 1u), 1);
    // Every state again, as after a reset: target, shader, format and
    // buffers, blend, filter, scissor, depth, variables.
    EXPECT_EQ(std::vector<uint32_t>(ops.begin(), ops.begin() + 12),
              (std::vector<uint32_t>{1, 5, 6, 8, 9, 10, 11, 19, 12, 14, 7, 17}));
    ASSERT_EQ(r.Present(), HV_OK);
    r.mCalls.clear();
    ASSERT_EQ(r.ExecuteCommands(), HV_OK);
    EXPECT_EQ(Only(r.mCalls, {"drawi"}), (std::vector<Call>{{"drawi", {3, 2, 6, 2, 4, 4}}}));
}

TEST_F(RecordingTest, AClearBeforeTheFrameIsKept)
{
    const float colour[4] = {0, 0, 0, 1};
    RenderState onTarget = block;
    onTarget.mTarget = r.mTarget;
    r.SetTarget(&onTarget);
    ASSERT_EQ(r.Clear(1, colour, 1.0f, 0), HV_OK);
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    ASSERT_EQ(r.EndFrame(), HV_OK);
    EXPECT_EQ(r.RecordedOpcodes(), (std::vector<uint32_t>{4, 0, 1, 2}));
}

TEST_F(RecordingTest, AFailedReplayEndsTheSceneAndIsNeverReplayedAgain)
{
    struct Row
    {
        const char* failing;
        std::vector<std::string> calls;
    };
    const Row rows[] = {
        {"drawi", {"begin", "drawi", "end"}},
        {"present", {"begin", "drawi", "end", "present"}},
    };
    Sampler()->Set(r.mTarget);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.failing);
        r.mFailName = row.failing;
        r.mFailCount = 1;
        ASSERT_EQ(r.BeginFrame(), HV_OK);
        r.SetState(&block, true);
        r.DrawIndexedPrimitive(3, 0, 2, 0, 4);
        ASSERT_EQ(r.EndFrame(), HV_OK);
        ASSERT_EQ(r.Present(), HV_OK);
        r.mCalls.clear();
        EXPECT_EQ(r.ExecuteCommands(), HV_FAIL);
        auto names = r.CallNames();
        names.erase(std::remove_if(names.begin(), names.end(),
                                   [](const std::string& n) { return n != "begin" && n != "drawi" && n != "end" &&
                                                                     n != "present"; }),
                    names.end());
        EXPECT_EQ(names, row.calls);
        EXPECT_EQ(r.GetCommandBuffer().GetPosition(), 0u);

        const auto calls = Frame([&] {
            r.SetState(&block, false);
            r.DrawIndexedPrimitive(3, 6, 2, 4, 4);
        });
        EXPECT_EQ(Only(calls, {"drawi"}), (std::vector<Call>{{"drawi", {3, 2, 6, 2, 4, 4}}}));
        EXPECT_EQ(Only(calls, {"present"}).size(), 1u);
        EXPECT_EQ(Only(calls, {"shader"}).size(), 1u) << "the state is sent again";
    }
}

TEST_F(RecordingTest, NotReadyDropsTheRecordedCommands)
{
    const float colour[4] = {0, 0, 0, 1};
    ASSERT_EQ(r.Clear(1, colour, 1.0f, 0), HV_OK);
    r.mReady = false;
    EXPECT_FALSE(r.CheckDeviceReady());
    EXPECT_EQ(r.GetCommandBuffer().GetPosition(), 0u);
    r.mReady = true;
    EXPECT_TRUE(r.CheckDeviceReady());
}

TEST_F(RecordingTest, UnknownOpcodesAreSkippedWithoutOperands)
{
    render::CommandBuffer& s = r.GetCommandBuffer();
    ASSERT_TRUE(s.Put(uint32_t(20)));
    ASSERT_TRUE(s.Put(uint32_t(1)));
    ASSERT_TRUE(s.Put(uint32_t(0xFFFFFFFF)));
    ASSERT_TRUE(s.Put(uint32_t(2)));
    ASSERT_EQ(r.ExecuteCommands(), HV_OK);
    EXPECT_EQ(r.CallNames(), (std::vector<std::string>{"begin", "end"}));
}

TEST_F(RecordingTest, UnregisterRemovesTheFirstEqualEntry)
{
    const size_t before = r.GetTextures().size();
    render::Texture* a = r.mTarget;
    FakeTexture b(&r);
    r.RegisterTexture(a);
    r.UnregisterTexture(a);
    std::vector<render::Texture*> tail(r.GetTextures().end() - 2, r.GetTextures().end());
    EXPECT_EQ(tail, (std::vector<render::Texture*>{&b, a}));
    EXPECT_EQ(r.GetTextures().size(), before + 1);
}
} // namespace
} // namespace rendertest
