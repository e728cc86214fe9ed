#include "Framework/Layer/HitTestListener.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/Layer.h"
#include "LayerDrawFixture.h"

#include "Core/Render/Buffer.h"

#include <cstring>

namespace layertest
{
namespace
{
using layer::ImageLayer;

class ImageLayerTest : public LayerDrawTest
{
protected:
    bool Hits(layer::Layer& root, float x, float y)
    {
        bool handled = false;
        EXPECT_EQ(root.StartHitTest(math::Vector3(x, y, 0), layer::OnMouseMove{}, handled), HV_OK);
        return handled;
    }

    // The vertices of the last indexed draw of a frame.
    std::vector<render::SVertex2D> LastQuad(const std::vector<rendertest::Call>& calls)
    {
        const rendertest::Call* vb = nullptr;
        const rendertest::Call* draw = nullptr;
        for (const rendertest::Call& c : calls)
        {
            if (c.name == "vb")
                vb = &c;
            if (c.name == "drawi")
                draw = &c;
        }
        std::vector<render::SVertex2D> out;
        if (!vb || !draw)
            return out;
        auto* buffer = reinterpret_cast<rendertest::MemoryVertexBuffer*>(uintptr_t(vb->args[0]));
        const uint64_t first = draw->args[4], count = draw->args[5];
        out.resize(count);
        std::memcpy(out.data(), buffer->mMemory.data() + first * sizeof(render::SVertex2D),
                    count * sizeof(render::SVertex2D));
        return out;
    }
};

TEST_F(ImageLayerTest, HitRectangleAndMaskTexelPerAlignment)
{
    struct Case
    {
        int h, v;
        math::Vector3 min, max;
        math::Vector3 point;
        std::pair<int, int> texel;
    };
    const Case cases[] = {
        {0, 0, {0, 0, 0}, {100, 50, 0}, {3.7f, 2.2f, 0}, {4, 2}},
        {1, 1, {-100, -50, 0}, {0, 0, 0}, {-0.6f, -0.6f, 0}, {99, 49}},
        {2, 2, {-50, -25, 0}, {50, 25, 0}, {0, 0, 0}, {50, 25}},
        {2, 0, {-50, 0, 0}, {50, 50, 0}, {-50, 0.4f, 0}, {0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.h << ',' << c.v);
        ImageLayer l(Picture(100, 50), true);
        l.SetAlignment(c.h, c.v);
        l.UpdateBounds();
        EXPECT_EQ(l.mHitRect.mMin.x, c.min.x);
        EXPECT_EQ(l.mHitRect.mMin.y, c.min.y);
        EXPECT_EQ(l.mHitRect.mMax.x, c.max.x);
        EXPECT_EQ(l.mHitRect.mMax.y, c.max.y);
        EXPECT_TRUE(l.HitTestPoint(c.point));
        EXPECT_EQ(MaskOf(l.GetImage())->mAsked, c.texel);
    }
}

TEST_F(ImageLayerTest, TransparentTexelsAreNotHit)
{
    layer::Layer root;
    layer::HitTestListener listener;
    root.mHitListener = &listener;
    ImageLayer l(Picture(20, 20), true);
    MaskOf(l.GetImage())->mOpaque[0] = 10; // the left half is transparent
    root.AddChild(&l);
    EXPECT_FALSE(Hits(root, 5, 5));
    EXPECT_TRUE(Hits(root, 15, 5));
}

TEST_F(ImageLayerTest, FreshLayerIsHitAndFollowsALargerPicture)
{
    layer::Layer root;
    layer::HitTestListener listener;
    root.mHitListener = &listener;
    ImageLayer l(Picture(10, 10), true);
    root.AddChild(&l);
    l.SetPosition(100, 100, 0);
    EXPECT_TRUE(Hits(root, 105, 105)); // no one marked anything by hand
    EXPECT_FALSE(Hits(root, 125, 125));
    l.SetImage(Picture(40, 40), true);
    EXPECT_TRUE(Hits(root, 125, 125));
    l.SetAlignment(ImageLayer::ALIGN_FAR, ImageLayer::ALIGN_FAR);
    EXPECT_FALSE(Hits(root, 125, 125));
    EXPECT_TRUE(Hits(root, 75, 75));
}

TEST_F(ImageLayerTest, LayerWithoutPictureIsEmptyAndDrawsNothing)
{
    layer::HitTestListener listener;
    ImageLayer l;
    l.mHitListener = &listener;
    EXPECT_EQ(l.GetWidth(), 0.0f);
    l.UpdateBounds();
    EXPECT_GT(l.mHitRect.mMin.x, l.mHitRect.mMax.x);
    EXPECT_FALSE(l.HitTestPoint(math::Vector3()));
    EXPECT_FALSE(Hits(l, 0, 0));
    const auto calls = Frame([&](render::Graphics& g) { EXPECT_EQ(l.Render(&g), HV_OK); });
    EXPECT_TRUE(rendertest::Only(calls, {"drawi"}).empty());
}

TEST_F(ImageLayerTest, OwnedPicturesAreDeletedOnceBorrowedOnesNever)
{
    int deleted = 0;
    render::Image* borrowed = Picture(4, 4, &deleted);
    {
        ImageLayer l(Picture(4, 4, &deleted), true);
        render::Image* same = l.GetImage();
        l.SetImage(same, true); // the same picture again stays alive
        EXPECT_EQ(deleted, 0);
        EXPECT_EQ(l.GetWidth(), 4.0f);
        l.SetImage(borrowed, false); // the owned one goes
        EXPECT_EQ(deleted, 1);
    }
    EXPECT_EQ(deleted, 1); // a borrowed picture outlives the layer
    delete borrowed;
    EXPECT_EQ(deleted, 2);
}

TEST_F(ImageLayerTest, QuadAtTheWorldTransformWithTheEffectiveOpacity)
{
    layer::Layer parent;
    parent.SetPosition(100, 50, 0);
    parent.mOpacity = 0.5f;
    ImageLayer l(Picture(4, 2), true);
    parent.AddChild(&l);
    l.SetPosition(10, 0, 0);
    l.SetAlignment(ImageLayer::ALIGN_CENTRE, ImageLayer::ALIGN_CENTRE);
    l.mColor = math::Point4(1, 0, 0, 1);
    const auto calls = Frame([&](render::Graphics& g) { EXPECT_EQ(parent.Render(&g), HV_OK); });
    const std::vector<render::SVertex2D> quad = LastQuad(calls);
    ASSERT_EQ(quad.size(), 4u);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const render::SVertex2D& v : quad)
    {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
        EXPECT_EQ(v.diffuse >> 24, 127u);        // alpha 0.5
        EXPECT_EQ((v.diffuse >> 16) & 255, 255u); // red
        EXPECT_EQ(v.diffuse & 0xFFFF, 0u);
    }
    // Centred at (110, 50), less the half-pixel offset.
    EXPECT_FLOAT_EQ(minX, 107.5f);
    EXPECT_FLOAT_EQ(maxX, 111.5f);
    EXPECT_FLOAT_EQ(minY, 48.5f);
    EXPECT_FLOAT_EQ(maxY, 50.5f);
}

TEST_F(ImageLayerTest, TintAndAdditiveChooseShaderAndBlend)
{
    struct Case
    {
        bool tint, additive;
        bool tintShader;
        uint64_t blend;
    };
    const Case cases[] = {{false, false, false, 1}, {true, false, true, 1}, {false, true, false, 2}, {true, true, true, 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.tint << c.additive);
        ImageLayer l(Picture(4, 4), true);
        l.mTint = c.tint;
        l.mTintAmount = 0.5f;
        l.mAdditive = c.additive;
        const auto calls = Frame([&](render::Graphics& g) {
            // An opaque draw first, so that the layer's blend mode shows as a change.
            g.SetBlendMode(0);
            g.FillRect(0, 0, 1, 1);
            EXPECT_EQ(l.Render(&g), HV_OK);
        });
        ASSERT_EQ(rendertest::Only(calls, {"drawi"}).size(), 2u);
        const auto shaders = rendertest::Only(calls, {"shader"});
        ASSERT_FALSE(shaders.empty());
        render::Shader* expected = c.tintShader ? static_cast<render::Shader*>(mRender.GetTexturedTintShaderObject())
                                                : mRender.GetTexturedMultShaderObject();
        EXPECT_EQ(shaders.back().args[0], ShaderAddress(expected));
        const auto blends = rendertest::Only(calls, {"blend"});
        ASSERT_FALSE(blends.empty());
        EXPECT_EQ(blends.back().args[0], c.blend);
    }
}

TEST_F(ImageLayerTest, ContextStateComesBackAfterTheDraw)
{
    ImageLayer l(Picture(4, 4), true);
    l.mTint = true;
    l.mTintAmount = 0.9f;
    l.mColor = math::Point4(0, 1, 0, 1);
    CallerState caller;
    Frame([&](render::Graphics& g) {
        caller.Apply(g, mRender.GetTexturedTintShaderObject());
        ASSERT_EQ(l.Render(&g), HV_OK);
        caller.ExpectRestored(g);
    });
}
} // namespace
} // namespace layertest
