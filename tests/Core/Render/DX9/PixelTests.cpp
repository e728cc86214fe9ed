#include "RenderFixture.h"

#include "Core/Render/Shaders/Shader.h"
#include "Platform/D3D9/TestSupport.h"

namespace rendertest
{
namespace
{
using PixelTest = RenderDX9Test;

constexpr uint32_t kBlack = 0xFF000000;

TEST_F(PixelTest, GeomRectangleLandsWhereTheProjectionPutsIt)
{
    ASSERT_EQ(Start(), HV_OK);
    auto* cache = render::GetVertexCache<render::SVertexGeom>(render.get());
    ASSERT_EQ(Frame([&] {
                  ClearTo(kBlack);
                  render::SVertexGeom* v = nullptr;
                  render::BufferRange<render::VertexBuffer<render::SVertexGeom>> range;
                  ASSERT_EQ(cache->Reserve(6, &v, range), HV_OK);
                  const uint32_t red = 0xFFFF0000;
                  const float x0 = 8 - 0.5f, y0 = 4 - 0.5f, x1 = 24 - 0.5f, y1 = 12 - 0.5f;
                  v[0] = {x0, y0, 0, red};
                  v[1] = {x1, y0, 0, red};
                  v[2] = {x1, y1, 0, red};
                  v[3] = {x0, y0, 0, red};
                  v[4] = {x1, y1, 0, red};
                  v[5] = {x0, y1, 0, red};
                  state.mVertexBuffer = range.mBuffer->mImpl;
                  state.mShader = render->GetGeomShaderObject()->GetImpl();
                  render->GetGeomShaderObject()->SetProjection(&render->GetProjection());
                  ASSERT_EQ(render->SetState(&state, true), HV_OK);
                  ASSERT_EQ(render->DrawPrimitive(3, range.mFirst, 2), HV_OK);
              }),
              HV_OK);
    const auto pixels = BackBuffer();
    struct Probe
    {
        int x, y;
        uint32_t colour;
    };
    for (const Probe& p : {Probe{8, 4, 0xFFFF0000}, Probe{23, 11, 0xFFFF0000}, Probe{15, 8, 0xFFFF0000},
                           Probe{7, 4, kBlack}, Probe{24, 11, kBlack}, Probe{8, 3, kBlack}, Probe{8, 12, kBlack}})
        EXPECT_EQ(At(pixels, p.x, p.y) | 0xFF000000, p.colour) << p.x << "," << p.y;
}

TEST_F(PixelTest, TexturedMultLandsTexelForTexelTimesTheVertexColour)
{
    ASSERT_EQ(Start(), HV_OK);
    const std::vector<uint32_t> texels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    render::TextureDX9* texture = MakeTexture(2, 2, texels);
    render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
    ASSERT_EQ(Frame([&] {
                  ClearTo(kBlack);
                  ASSERT_EQ(DrawQuad(*render, state, mult, texture, {10, 10, 12, 12}), HV_OK);
                  ASSERT_EQ(DrawQuad(*render, state, mult, texture, {20, 10, 22, 12, 0xFF808080}), HV_OK);
              }),
              HV_OK);
    const auto pixels = BackBuffer();
    for (int i = 0; i < 4; ++i)
    {
        const int x = i % 2, y = i / 2;
        EXPECT_EQ(At(pixels, 10 + x, 10 + y) | 0xFF000000, texels[size_t(i)]) << i;
        const uint32_t half = texels[size_t(i)] >> 1 & 0x7F7F7F7F;
        EXPECT_TRUE(Near(At(pixels, 20 + x, 10 + y) | 0xFF000000, half | 0xFF000000, 2))
            << std::hex << At(pixels, 20 + x, 10 + y);
    }
    EXPECT_EQ(At(pixels, 12, 10) | 0xFF000000, kBlack);
    EXPECT_EQ(At(pixels, 9, 10) | 0xFF000000, kBlack);
}

TEST_F(PixelTest, TexturedTintBlendsFromTexelToVertexColourKeepingAlphaProduct)
{
    ASSERT_EQ(Start(), HV_OK);
    const uint32_t texel = 0x80C04020;
    render::TextureDX9* texture = MakeTexture(1, 1, {texel});
    render::TextureDX9* target = MakeTarget(8, 8);
    render::ShaderTextured* tint = render->GetTexturedTintShaderObject();
    math::Matrix4 projection;
    render->MakeOrthoProjection(8, 8, 0, &projection);
    struct Row
    {
        int k;
        uint32_t expected;
    };
    const uint32_t diffuse = 0x8020A0E0;
    // alpha = 0x80 x 0x80 / 255 = 0x40.
    const Row rows[] = {{0, 0x40C04020}, {255, 0x4020A0E0}, {128, 0x40707080}};
    render::RenderState onTarget;
    onTarget.mTarget = target;
    for (const Row& row : rows)
    {
        const uint32_t specular = uint32_t(row.k) << 8 | uint32_t(255 - row.k);
        ASSERT_EQ(Frame([&] {
                      render->SetTarget(&onTarget);
                      const float clear[4] = {0, 0, 0, 0};
                      render->Clear(1, clear, 1.0f, 0);
                      ASSERT_EQ(DrawQuad(*render, onTarget, tint, texture, {0, 0, 8, 8, diffuse, specular},
                                         &projection),
                                HV_OK);
                  }),
                  HV_OK);
        const auto pixels = TargetPixels(target);
        EXPECT_TRUE(Near(At(pixels, 3, 3, 8), row.expected, 1))
            << row.k << ": " << std::hex << At(pixels, 3, 3, 8) << " want " << row.expected;
    }
}

TEST_F(PixelTest, RenderTargetDrawnOntoTheBackBufferIsUpright)
{
    ASSERT_EQ(Start(), HV_OK);
    const std::vector<uint32_t> texels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    render::TextureDX9* texture = MakeTexture(2, 2, texels);
    render::TextureDX9* target = MakeTarget(2, 2);
    render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
    math::Matrix4 projection;
    render->MakeOrthoProjection(2, 2, 0, &projection);
    render::RenderState onTarget;
    onTarget.mTarget = target;
    ASSERT_EQ(Frame([&] {
                  ASSERT_EQ(DrawQuad(*render, onTarget, mult, texture, {0, 0, 2, 2}, &projection), HV_OK);
                  ClearTo(kBlack);
                  ASSERT_EQ(DrawQuad(*render, state, mult, target, {4, 6, 6, 8}), HV_OK);
              }),
              HV_OK);
    const auto rt = TargetPixels(target);
    EXPECT_EQ(rt, texels);
    const auto pixels = BackBuffer();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(At(pixels, 4 + i % 2, 6 + i / 2) | 0xFF000000, texels[size_t(i)]) << i;
}

TEST_F(PixelTest, QuadsFromOneTextureCostOneDrawUntilTheIndexCacheSpills)
{
    ASSERT_EQ(Start(), HV_OK);
    render::TextureDX9* texture = MakeTexture(1, 1, {0xFFFFFFFF});
    render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
    struct Row
    {
        int quads;
        uint64_t draws;
    };
    // 10240 indices hold 1706 quads, in the main buffer and in each overflow buffer.
    for (const Row& row :
         {Row{1, 1}, Row{1706, 1}, Row{1707, 2}, Row{3412, 2}, Row{3413, 3}, Row{10000, 6}})
    {
        d3d9test::ResetCounters(Device());
        ASSERT_EQ(Frame([&] {
                      for (int i = 0; i < row.quads; ++i)
                          ASSERT_EQ(DrawQuad(*render, state, mult, texture, {0, 0, 1, 1}), HV_OK);
                  }),
                  HV_OK);
        EXPECT_EQ(d3d9test::Counters(Device()).drawCalls, row.draws) << row.quads;
    }
}
} // namespace
} // namespace rendertest
