#include "GraphicsTestSupport.h"

#include "Core/Math/Transform3D.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/ColorARGB.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Resource/ResourceTexture.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/VertexTransform.h"

#include <gtest/gtest.h>

#include <functional>

namespace rendertest
{
namespace
{
using render::SVertex2D;
using render::SVertexGeom;

// A picture of its own texture, w x h.
render::Texture* MakeTexture(RecordingRender& r, int w, int h)
{
    auto* texture = new FakeTexture(&r);
    texture->CreateRenderTarget(w, h);
    return texture;
}

class ImageDrawTest : public GraphicsTest
{
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        texture = MakeTexture(r, 64, 32);
        image = std::make_unique<render::Image>(texture);
        dot = std::make_unique<render::Image>(MakeTexture(r, 1, 1));
        Begin();
    }
    void TearDown() override
    {
        image.reset();
        dot.reset();
    }

    // Runs the drawing and returns the vertices it took (and their count).
    std::vector<SVertex2D> Drawn(const std::function<void()>& draw)
    {
        const uint32_t before = Used2D();
        draw();
        const uint32_t after = Used2D();
        return std::vector<SVertex2D>(Vertices2D() + before, Vertices2D() + after);
    }

    render::Texture* texture = nullptr;
    std::unique_ptr<render::Image> image; // 64 x 32
    std::unique_ptr<render::Image> dot;   // 1 x 1
};

TEST_F(ImageDrawTest, AnchorsPlaceTheQuadPerAxis)
{
    struct Case
    {
        int h, v;
        float dx, dy;
    } cases[] = {{0, 0, 0, 0}, {1, 2, -64, -16}, {2, 1, -32, -32}, {5, 0, 0, 0}};
    for (const Case& c : cases)
    {
        const auto q = Drawn([&] { g->DrawImage(*image)->SetAnchor(c.h, c.v); });
        ASSERT_EQ(q.size(), 4u);
        EXPECT_EQ(q[0].x, c.dx - 0.5f) << c.h;
        EXPECT_EQ(q[0].y, c.dy - 0.5f) << c.v;
        EXPECT_EQ(q[2].x, c.dx + 64 - 0.5f) << c.h;
        EXPECT_EQ(q[2].y, c.dy + 32 - 0.5f) << c.v;
        EXPECT_EQ(q[1].y, q[0].y);
        EXPECT_EQ(q[3].x, q[0].x);
    }
}

TEST_F(ImageDrawTest, SourceRectangleAndFlipsSetTheTextureCoordinates)
{
    const float source[4] = {16, 8, 32, 16};
    struct Case
    {
        bool flipX, flipY;
        float u0, v0, u2, v2;
    } cases[] = {
        {false, false, 0.25f, 0.25f, 0.75f, 0.75f},
        {true, false, 0.75f, 0.25f, 0.25f, 0.75f},
        {false, true, 0.25f, 0.75f, 0.75f, 0.25f},
    };
    for (const Case& c : cases)
    {
        const auto q = Drawn([&] { g->DrawImageSource(*image, source)->SetFlip(c.flipX, c.flipY); });
        ASSERT_EQ(q.size(), 4u);
        EXPECT_EQ(q[2].x, 32 - 0.5f); // at its own size
        EXPECT_EQ(q[2].y, 16 - 0.5f);
        EXPECT_EQ(q[0].u, c.u0);
        EXPECT_EQ(q[0].v, c.v0);
        EXPECT_EQ(q[2].u, c.u2);
        EXPECT_EQ(q[2].v, c.v2);
        EXPECT_EQ(q[1].u, c.u2);
        EXPECT_EQ(q[1].v, c.v0);
        EXPECT_EQ(q[3].u, c.u0);
        EXPECT_EQ(q[3].v, c.v2);
    }
}

TEST_F(ImageDrawTest, AtlasPartIsMappedIntoItsSubRectangle)
{
    resource::ResourceTexture part;
    part.fromAtlas = true;
    part.u = 0.5f;
    part.v = 0.25f;
    part.du = 0.25f;
    part.dv = 0.5f;
    part.w = 256;
    part.h = 128;
    render::Image atlas;
    atlas.Assign(resource::ResourceHandle<resource::ResourceTexture>(&part, nullptr));
    const auto q = Drawn([&] { g->DrawImage(atlas); });
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(q[0].u, 0.5f);
    EXPECT_EQ(q[0].v, 0.25f);
    EXPECT_EQ(q[2].u, 0.75f);
    EXPECT_EQ(q[2].v, 0.75f);
    EXPECT_EQ(q[2].x, 256 - 0.5f);
}

TEST_F(ImageDrawTest, ColourAndTintGoIntoEveryVertex)
{
    g->SetColor(1, 0.5f, 0, 1);
    g->mTint = 0.5f;
    ASSERT_EQ(g->SetShaderMode(2), HV_OK);
    const auto q = Drawn([&] { g->DrawImage(*image); });
    ASSERT_EQ(q.size(), 4u);
    for (const SVertex2D& v : q)
    {
        EXPECT_EQ(v.diffuse, 0xFFFF7F00u);
        EXPECT_EQ(v.specular, 0x00007F80u);
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_EQ(v.w, 1.0f);
    }
    const auto calls = End();
    EXPECT_EQ(Only(calls, {"drawi"}), (std::vector<Call>{{"drawi", {3, 2, 0, 2, 0, 4}}}));
    EXPECT_EQ(Only(calls, {"texture TextureSampler"}),
              (std::vector<Call>{{"texture TextureSampler", {RecordingRender::Address(texture)}}}));
    EXPECT_EQ(r.GetAppliedState().mShader, r.GetTexturedTintShaderObject()->GetImpl());
    Begin();
}

TEST_F(ImageDrawTest, StretchedFormsScaleThenTranslate)
{
    const float atSize[4] = {7, 9, 64, 32};
    const auto inRect = Drawn([&] { g->DrawImageInRect(*image, atSize); });
    const float d[2] = {7, 9};
    const auto translated = Drawn([&] { g->DrawImage(*image).Translate(d); });
    ASSERT_EQ(inRect.size(), 4u);
    ASSERT_EQ(translated.size(), 4u);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(inRect[i].x, translated[i].x) << i;
        EXPECT_EQ(inRect[i].y, translated[i].y) << i;
    }
    const float source[4] = {16, 8, 32, 16}, dest[4] = {100, 50, 64, 64};
    const auto part = Drawn([&] { g->DrawImagePart(*image, source, dest); });
    ASSERT_EQ(part.size(), 4u);
    EXPECT_EQ(part[0].x, 100 - 0.5f);
    EXPECT_EQ(part[0].y, 50 - 0.5f);
    EXPECT_EQ(part[2].x, 164 - 0.5f);
    EXPECT_EQ(part[2].y, 114 - 0.5f);
    EXPECT_EQ(part[2].u, 0.75f);
    EXPECT_EQ(part[2].v, 0.75f);
}

TEST_F(ImageDrawTest, ArmedRuleDrawsOnceThroughTheLastRecord)
{
    const float d[2] = {10, 0};
    const float s2[2] = {2, 3};
    math::Transform2D shift;
    shift.Translate(0, 4);
    struct Case
    {
        const char* name;
        std::function<void()> draw;
        int draws;
        float x, y; // where the corner (1, 1) of the last quad lands
    } cases[] = {
        {"create and destroy", [&] { g->DrawImage(*dot); }, 1, 1, 1},
        {"translate", [&] { g->DrawImage(*dot).Translate(d); }, 1, 11, 1},
        {"translate then scale", [&] { g->DrawImage(*dot).Translate(d).Scale(2); }, 1, 22, 2},
        {"scale array", [&] { g->DrawImage(*dot).Scale(s2); }, 1, 2, 3},
        {"scale pair", [&] { g->DrawImage(*dot).Scale(2, 3); }, 1, 2, 3},
        {"uniform", [&] { g->DrawImage(*dot).ScaleUniform(4); }, 1, 4, 4},
        {"transform", [&] { g->DrawImage(*dot).Transform(shift); }, 1, 1, 5},
        {"converted twice",
         [&] {
             auto record = g->DrawImage(*dot);
             record.Translate(d);
             record.ScaleUniform(3);
         },
         2, 3, 3},
        {"moved",
         [&] {
             auto record = g->DrawImage(*dot);
             auto moved = std::move(record);
             EXPECT_FALSE(record.IsArmed());
             EXPECT_EQ(moved.mBody, &moved.mParam);
         },
         1, 1, 1},
    };
    for (const Case& c : cases)
    {
        const auto q = Drawn(c.draw);
        ASSERT_EQ(int(q.size()), 4 * c.draws) << c.name;
        EXPECT_EQ(q[q.size() - 2].x + 0.5f, c.x) << c.name;
        EXPECT_EQ(q[q.size() - 2].y + 0.5f, c.y) << c.name;
    }
}

TEST_F(ImageDrawTest, RecordTransformComesBeforeTheWorldTransform)
{
    math::Transform3D world;
    world.Translate(5, 0, 0);
    g->mWorldTransform = &world;
    const auto q = Drawn([&] { g->DrawImage(*dot).Scale(2, 2); });
    g->mWorldTransform = nullptr;
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(q[2].x + 0.5f, 7.0f);
    EXPECT_EQ(q[2].y + 0.5f, 2.0f);
}

TEST_F(GraphicsTest, TextAlignmentOffsets)
{
    render::BMFont font;
    ASSERT_EQ(font.ParseDescription("<font><info face=\"t\" size=\"20\" bold=\"0\" italic=\"0\" charset=\"\" "
                                    "unicode=\"1\" stretchH=\"100\" smooth=\"1\" aa=\"1\" padding=\"0,0,0,0\" "
                                    "spacing=\"1,1\" outline=\"0\"/><common lineHeight=\"22\" base=\"16\" "
                                    "scaleW=\"8\" scaleH=\"8\" pages=\"0\" packed=\"0\" alphaChnl=\"0\" "
                                    "redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"/><pages/><chars/></font>"),
              HV_OK);
    const std::wstring text = L"x";
    struct Case
    {
        int h, v;
        float dx, dy;
    } cases[] = {{0, 0, 0, 0}, {1, 1, -5, -5}, {2, 2, -3, -2}, {0, 3, 0, -16}, {9, 9, 0, 0}};
    for (const Case& c : cases)
    {
        render::DrawTextParam body(&font, &text);
        body.SetAlign(c.h, c.v);
        body.mSize[0] = 5;
        body.mSize[1] = 5;
        SVertex2D v[1] = {};
        ASSERT_EQ(body.AlignAndSubmit(v, &SVertex2D::Format, 1), HV_OK);
        EXPECT_EQ(v[0].x, c.dx) << c.h;
        EXPECT_EQ(v[0].y, c.dy) << c.v;
    }
}

TEST_F(GraphicsTest, TargetContextOwnsTheFrameOnlyWhenItBeganIt)
{
    render::RenderTarget target(MakeTexture(r, 32, 16), true);
    {
        render::Graphics tg(&target);
        EXPECT_TRUE(tg.OwnsFrame());
        EXPECT_TRUE(r.IsInFrame());
        EXPECT_EQ(tg.GetProjection(), &target.GetProjection());
        EXPECT_EQ(tg.GetState().mTarget, target.GetTexture());
        EXPECT_EQ(tg.GetState().mScaleX, 1.0f); // the target's mapping, not the screen's
        EXPECT_EQ(tg.GetState().mOffsetY, 0.0f);
        tg.FillRect(0, 0, 4, 4);
        r.mCalls.clear();
    }
    EXPECT_FALSE(r.IsInFrame());
    EXPECT_EQ(Count(r.mCalls, "begin"), 1);
    EXPECT_EQ(Count(r.mCalls, "drawi"), 1);
    EXPECT_EQ(Count(r.mCalls, "end"), 1);

    Begin();
    r.mCalls.clear();
    {
        render::Graphics tg(&target);
        EXPECT_FALSE(tg.OwnsFrame());
        EXPECT_EQ(tg.Flush(), HV_OK); // nothing to do without an own frame
    }
    EXPECT_TRUE(r.IsInFrame());
    EXPECT_TRUE(r.mCalls.empty());
    End();
}

TEST_F(GraphicsTest, FlushReplaysAnOwnedFrameWithItsPendingDraw)
{
    render::RenderTarget target(MakeTexture(r, 32, 16), false);
    r.mCalls.clear();
    {
        render::Graphics tg(&target);
        tg.FillRect(0, 0, 4, 4);
        EXPECT_EQ(tg.Flush(), HV_OK);
        // The rectangle was still pending: the replay must hold it.
        EXPECT_EQ(Only(r.mCalls, {"begin", "drawi", "end"}),
                  (std::vector<Call>{{"begin", {}}, {"drawi", {3, 2, 0, 2, 0, 4}}, {"end", {}}}));
        EXPECT_TRUE(r.IsInFrame());
        r.mCalls.clear();
        tg.FillRect(0, 0, 8, 8);
    }
    EXPECT_EQ(Count(r.mCalls, "drawi"), 1);
    EXPECT_FALSE(r.IsInFrame());
}

TEST_F(GraphicsTest, ConstructionTakesTheRendererMappingAndBuiltInShaders)
{
    EXPECT_EQ(g->GetGeomShader(), r.GetGeomShaderObject());
    EXPECT_EQ(g->mTexturedShader, r.GetTexturedMultShaderObject());
    EXPECT_EQ(g->mTexturedShaderMode, 1);
    EXPECT_EQ(g->GetState().mBlendMode, 1);
    EXPECT_EQ(g->GetState().mScaleX, 1.5f);
    EXPECT_EQ(g->GetState().mOffsetY, 7.0f);
    EXPECT_EQ(g->GetState().mDepthWrite, 1);
    EXPECT_TRUE(g->IsDirty());
    EXPECT_EQ(g->mFont, nullptr);
    EXPECT_EQ(g->mColor[3], 1.0f);
    EXPECT_EQ(g->mTint, 0.0f);
    EXPECT_FALSE(g->OwnsFrame());
    EXPECT_EQ(g->GetProjection(), &r.GetProjection());
}

TEST_F(GraphicsTest, ShaderModeAndShaderTable)
{
    render::ShaderTextured* mult = r.GetTexturedMultShaderObject();
    render::ShaderTextured* tint = r.GetTexturedTintShaderObject();
    render::ShaderTextured own(&r, nullptr);
    struct Step
    {
        int mode;                      // -1: SetShader(shader) instead
        render::ShaderTextured* shader; // for SetShader
        int expectMode;
        render::ShaderTextured* expectShader;
    } steps[] = {
        {1, nullptr, 1, mult},  // the current mode changes nothing
        {2, nullptr, 2, tint},
        {7, nullptr, 2, tint},  // unknown modes change nothing
        {0, nullptr, 2, tint},  // 0 is only reached through SetShader
        {-1, &own, 0, &own},
        {-1, nullptr, 0, mult}, // null: the multiplying shader, mode stays 0
        {1, nullptr, 1, mult},
    };
    for (const Step& s : steps)
    {
        const int result = s.mode >= 0 ? g->SetShaderMode(s.mode) : g->SetShader(s.shader);
        EXPECT_EQ(result, HV_OK);
        EXPECT_EQ(g->mTexturedShaderMode, s.expectMode) << s.mode;
        EXPECT_EQ(g->mTexturedShader, s.expectShader) << s.mode;
    }
}

TEST_F(GraphicsTest, StateChangesMarkTheBlockAndApplyLazily)
{
    Begin();
    g->SetBlendMode(2);
    g->SetScissorRect(1, 2, 3, 4);
    const float rect[4] = {10, 20, 30, 40};
    g->FillRect(rect);
    EXPECT_FALSE(g->IsDirty());
    EXPECT_EQ(r.GetPendingState().mBlendMode, 2);
    EXPECT_EQ(r.GetPendingState().mScissorEnabled, 1);
    EXPECT_EQ(r.GetPendingState().mScissorRect[3], 4.0f);
    g->ResetScissor();
    EXPECT_TRUE(g->IsDirty());
    g->FillRect(rect);
    EXPECT_EQ(r.GetPendingState().mScissorEnabled, 0);
    const auto calls = End();
    EXPECT_EQ(Count(calls, "blend"), 1);
    // Each scissor change lands between the two rectangle draws.
    EXPECT_EQ(Count(calls, "drawi"), 2);
}

TEST_F(GraphicsTest, FillRectWritesCornersIndicesAndColour)
{
    Begin();
    g->SetColor(1, 0.5f, 0, 1);
    {
        const float p0[2] = {0, 0}, p1[2] = {5, 5};
        g->DrawLine(p0, p1); // takes vertices 0 and 1
    }
    g->FillRect(10, 20, 30, 40);
    const auto calls = End();
    const SVertexGeom* v = GeomVertices();
    const float corners[4][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    for (int i = 0; i < 4; ++i)
    {
        // The half-pixel offset is part of every submission.
        EXPECT_EQ(v[2 + i].x, corners[i][0] - 0.5f) << i;
        EXPECT_EQ(v[2 + i].y, corners[i][1] - 0.5f) << i;
        EXPECT_EQ(v[2 + i].diffuse, 0xFFFF7F00u);
    }
    const uint16_t* idx = Indices16();
    const uint16_t expect[6] = {2, 3, 4, 2, 4, 5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(idx[i], expect[i]);
    EXPECT_EQ(Only(calls, {"draw", "drawi"}),
              (std::vector<Call>{{"draw", {1, 0, 1}}, {"drawi", {3, 2, 0, 2, 2, 4}}}));
}

TEST_F(GraphicsTest, LineAndRectOutsideAFrameDrawNothing)
{
    // No frame: the caches are closed and the reservations fail.
    const float p[2] = {1, 1};
    auto line = g->DrawLine(p, p);
    EXPECT_FALSE(line.IsArmed());
    auto rect = g->FillRect(1, 2, 3, 4);
    EXPECT_FALSE(rect.IsArmed());
}

TEST_F(GraphicsTest, CustomPrimitiveCountsAreComputedOnceAndKept)
{
    Begin();
    auto* cache = render::GetVertexCache<SVertexGeom>(&r);
    auto* indexCache = r.GetIndexCache16();
    SVertexGeom* v = nullptr;
    render::GeomVertexRange range;
    ASSERT_EQ(cache->Reserve(5, &v, range), HV_OK);
    unsigned short* idx = nullptr;
    render::IndexRange16 indexRange;
    ASSERT_EQ(indexCache->Reserve(7, &idx, indexRange), HV_OK);
    {
        auto strip = g->MakeCustomDraw(2, v, range, g->GetGeomShader());
        EXPECT_EQ(strip->mPrimitiveCount, 0);
    }
    g->SetBlendMode(0); // keeps the two draws apart
    g->MakeCustomDrawIndexed(3, v, indexRange, range, g->GetGeomShader());
    const auto calls = End();
    EXPECT_EQ(Only(calls, {"draw", "drawi"}),
              (std::vector<Call>{{"draw", {2, 0, 4}}, {"drawi", {3, 2, 0, 2, 0, 5}}}));

    render::DrawCustomParam body(g.get(), 4, v, &SVertexGeom::Format, 0, 6, range.mBuffer->mImpl,
                                 g->GetGeomShader());
    Begin();
    EXPECT_EQ(body.Draw(nullptr), HV_OK);
    EXPECT_EQ(body.mPrimitiveCount, 4);
    body.mVertexCount = 10;
    EXPECT_EQ(body.Draw(nullptr), HV_OK);
    EXPECT_EQ(body.mPrimitiveCount, 4);
    End();
}

TEST(VertexPasses, WorldTransformSkipsNearZeroPartsAndRotationUsesTheMatrix)
{
    render::RegisterVertexFormats();
    struct Case
    {
        const char* name;
        void (*setup)(math::Transform3D&);
        float x, y, z;
    } cases[] = {
        {"tiny translation", [](math::Transform3D& t) { t.Translate(0.0001f, 0, 0); }, 1, 2, 3},
        {"translation", [](math::Transform3D& t) { t.Translate(10, 0, 0); }, 11, 2, 3},
        {"translate then scale", [](math::Transform3D& t) {
             t.Translate(1, 1, 0);
             t.Scale(2, 3, 1);
         },
         4, 9, 3},
        {"rotation 90 about z", [](math::Transform3D& t) { t.Rotate(0, 0, 1.5707964f); }, -2, 1, 3},
    };
    for (const Case& c : cases)
    {
        math::Transform3D t;
        c.setup(t);
        SVertexGeom v[2] = {{1, 2, 3, 0}, {1, 2, 3, 0}};
        render::ApplyTransform3D(v, &SVertexGeom::Format, 2, &t);
        for (const SVertexGeom& p : v)
        {
            EXPECT_NEAR(p.x, c.x, 1e-4) << c.name;
            EXPECT_NEAR(p.y, c.y, 1e-4) << c.name;
            EXPECT_NEAR(p.z, c.z, 1e-4) << c.name;
        }
    }
    SVertexGeom v = {1, 2, 3, 0};
    render::ApplyTransform3D(&v, &SVertexGeom::Format, 1, nullptr);
    EXPECT_EQ(v.x, 1.0f);
}

TEST(VertexPasses, HalfPixelDropsZAndTranslate2DNeedsThreeOrFourComponents)
{
    render::RegisterVertexFormats();
    SVertex2D quad[2] = {};
    quad[0] = {4, 6, 9, 1, 0, 0, 0, 0};
    quad[1] = {0, 0, -3, 1, 0, 0, 0, 0};
    render::ApplyHalfPixel(quad, &SVertex2D::Format, 2);
    EXPECT_EQ(quad[0].x, 3.5f);
    EXPECT_EQ(quad[0].y, 5.5f);
    EXPECT_EQ(quad[0].z, 0.0f);
    EXPECT_EQ(quad[1].z, 0.0f);
    EXPECT_EQ(quad[1].w, 1.0f);

    for (int components : {2, 3, 4})
    {
        render::VertexFormat format = SVertex2D::Format;
        format.mPosition.mComponents = components;
        SVertex2D v = {1, 1, 5, 7, 0, 0, 0, 0};
        render::TranslatePositions2D(&v, &format, 1, 10, 20);
        const bool moves = components != 2;
        EXPECT_EQ(v.x, moves ? 11.0f : 1.0f) << components;
        EXPECT_EQ(v.y, moves ? 21.0f : 1.0f) << components;
        EXPECT_EQ(v.z, 5.0f);
        EXPECT_EQ(v.w, 7.0f);
    }
}
} // namespace
} // namespace rendertest
