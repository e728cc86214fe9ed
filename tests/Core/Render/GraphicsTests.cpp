#include "GraphicsTestSupport.h"

#include "Core/Math/Transform3D.h"
#include "Core/Render/ColorARGB.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/VertexTransform.h"

#include <gtest/gtest.h>

namespace rendertest
{
namespace
{
using render::SVertex2D;
using render::SVertexGeom;

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
