// Images drawn through the draw context are point-sampled only where that
// cannot change a pixel: at exact placements the pixels equal those of
// linear filtering; scaled, rotated or fractionally placed images filter.
#include "RenderFixture.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Platform/D3D9/TestSupport.h"

#include <functional>
#include <memory>
#include <random>

namespace rendertest
{
namespace
{
constexpr uint32_t kBackground = 0xFF203040;

class FilterTest : public RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
        ASSERT_EQ(Start(), HV_OK);
    }
    void TearDown() override
    {
        images.clear();
        RenderDX9Test::TearDown();
    }

    // An image of random texels, alpha included, on a texture of its own.
    render::Image* MakeImage(int w, int h, uint32_t seed)
    {
        std::mt19937 random(seed);
        std::vector<uint32_t> argb(size_t(w) * size_t(h));
        for (uint32_t& pixel : argb)
            pixel = uint32_t(random());
        PixelImage picture(w, h, argb);
        auto* texture = new render::TextureDX9(render.get());
        EXPECT_EQ(texture->CreateFromImage(&picture), HV_OK);
        images.push_back(std::make_unique<render::Image>(texture));
        return images.back().get();
    }

    // One frame through a draw context over a clear background; the back
    // buffer's pixels and the magnification filter the draws ended with.
    std::vector<uint32_t> DrawFrame(const std::function<void(render::Graphics&)>& draw, DWORD* filter = nullptr)
    {
        EXPECT_EQ(Frame([&] {
                      render::Graphics g(render.get());
                      const float colour[4] = {0x20 / 255.0f, 0x30 / 255.0f, 0x40 / 255.0f, 1.0f};
                      g.Clear(1, colour, 1.0f, 0);
                      draw(g);
                  }),
                  HV_OK);
        if (filter)
            Device()->GetSamplerState(0, D3DSAMP_MAGFILTER, filter);
        return BackBuffer();
    }

    // The same image as one linearly filtered quad, drawn beside the context.
    std::vector<uint32_t> DrawLinear(render::Image* image, float x, float y)
    {
        render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
        render::RenderState linear;
        linear.mBlendMode = render::kBlendAlpha;
        linear.mFilter = render::kFilterLinear;
        EXPECT_EQ(Frame([&] {
                      ClearTo(kBackground);
                      const float w = float(image->GetPixelWidth()), h = float(image->GetPixelHeight());
                      EXPECT_EQ(DrawQuad(*render, linear, mult, image->GetTexture(), {x, y, x + w, y + h}), HV_OK);
                  }),
                  HV_OK);
        DWORD filter = 0;
        Device()->GetSamplerState(0, D3DSAMP_MAGFILTER, &filter);
        EXPECT_NE(filter, DWORD(D3DTEXF_POINT));
        return BackBuffer();
    }

    std::vector<std::unique_ptr<render::Image>> images;
};

TEST_F(FilterTest, ExactPlacementsArePointSampledWithTheLinearPixels)
{
    struct Row
    {
        int w, h;
        float x, y;
    };
    // Power-of-two and odd sizes, inside and reaching past the edges.
    const Row rows[] = {{16, 16, 0, 0}, {16, 16, 5, 9}, {13, 7, 3, 20}, {7, 13, 24, 1}, {13, 7, -4, -3}, {9, 9, 27, 28}};
    uint32_t seed = 1;
    for (const Row& row : rows)
    {
        render::Image* image = MakeImage(row.w, row.h, seed++);
        DWORD filter = 0;
        const auto pointPixels = DrawFrame(
            [&](render::Graphics& g) {
                const float at[2] = {row.x, row.y};
                g.DrawImage(*image).Translate(at);
            },
            &filter);
        EXPECT_EQ(filter, DWORD(D3DTEXF_POINT)) << row.w << "x" << row.h << " at " << row.x << "," << row.y;
        EXPECT_EQ(pointPixels, DrawLinear(image, row.x, row.y))
            << row.w << "x" << row.h << " at " << row.x << "," << row.y;
    }
}

TEST_F(FilterTest, ScaledRotatedOrFractionalImagesStillFilter)
{
    render::Image* image = MakeImage(8, 8, 7);
    const std::function<void(render::Graphics&)> draws[] = {
        [&](render::Graphics& g) { g.DrawImage(*image).Scale(2.0f, 2.0f); },
        [&](render::Graphics& g) { g.DrawImage(*image).Scale(1.5f, 1.0f); },
        [&](render::Graphics& g) {
            math::Transform2D t;
            t.Translate(10, 10);
            t.RotateDegrees(30);
            g.DrawImage(*image).Transform(t);
        },
        [&](render::Graphics& g) {
            const float at[2] = {3.5f, 4.0f};
            g.DrawImage(*image).Translate(at);
        },
        [&](render::Graphics& g) {
            const float at[2] = {3.0f, 4.25f};
            g.DrawImage(*image).Translate(at);
        },
    };
    int index = 0;
    for (const auto& draw : draws)
    {
        DWORD filter = 0;
        DrawFrame(draw, &filter);
        EXPECT_NE(filter, DWORD(D3DTEXF_POINT)) << index;
        ++index;
    }
}

TEST_F(FilterTest, AScaledImageBlendsNeighbouringTexels)
{
    // Black | white, doubled: the pixels between the two texel centres mix them.
    auto* texture = new render::TextureDX9(render.get());
    PixelImage picture(2, 1, {0xFF000000, 0xFFFFFFFF});
    ASSERT_EQ(texture->CreateFromImage(&picture), HV_OK);
    images.push_back(std::make_unique<render::Image>(texture));
    render::Image* image = images.back().get();
    const auto pixels = DrawFrame([&](render::Graphics& g) { g.DrawImage(*image).Scale(4.0f, 4.0f); });
    const uint32_t between = At(pixels, 4, 1) & 0xFF;
    EXPECT_GT(between, 0x10u);
    EXPECT_LT(between, 0xF0u);
}

TEST_F(FilterTest, RunsOfExactAndFilteredImagesMergeByFilter)
{
    render::Image* image = MakeImage(4, 4, 3);
    struct Row
    {
        const char* name;
        std::function<void(render::Graphics&)> draw;
        uint64_t draws;
    };
    const auto exact = [&](render::Graphics& g, int i) {
        const float at[2] = {float(i % 8), float(i / 8)};
        g.DrawImage(*image).Translate(at);
    };
    const auto scaled = [&](render::Graphics& g) { g.DrawImage(*image).Scale(1.5f, 1.5f); };
    const Row rows[] = {
        {"exact run", [&](render::Graphics& g) { for (int i = 0; i < 100; ++i) exact(g, i); }, 1},
        {"exact, scaled, exact",
         [&](render::Graphics& g) {
             exact(g, 0);
             exact(g, 1);
             scaled(g);
             exact(g, 2);
         },
         3},
        {"scaled run", [&](render::Graphics& g) { for (int i = 0; i < 10; ++i) scaled(g); }, 1},
    };
    for (const Row& row : rows)
    {
        d3d9test::ResetCounters(Device());
        DrawFrame(row.draw);
        EXPECT_EQ(d3d9test::Counters(Device()).drawCalls, row.draws) << row.name;
    }
}
} // namespace
} // namespace rendertest
