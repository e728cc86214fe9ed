#include "Framework/Layer/HitTestListener.h"
#include "Framework/Layer/Layer.h"
#include "Framework/Layer/TextLayer.h"
#include "LayerDrawFixture.h"

#include "Core/Render/Shaders/ShaderTextured.h"

#include <cmath>

namespace layertest
{
namespace
{
using layer::TextLayer;

class TextLayerTest : public LayerDrawTest
{
protected:
    // A fresh counted use, as the resource manager hands one out.
    TextLayer::FontHandle Handle()
    {
        ++mCount;
        return TextLayer::FontHandle(&mFont, &mCount);
    }

    // Whether a move at (x, y) reaches the root's listener through the text.
    bool Hits(layer::Layer& root, float x, float y)
    {
        bool handled = false;
        EXPECT_EQ(root.StartHitTest(math::Vector3(x, y, 0), layer::OnMouseMove{}, handled), HV_OK);
        return handled;
    }

    FixedFont mFont;
    int mCount = 100; // the tests' own hold: never the last release
};

TEST_F(TextLayerTest, SixArgumentConstructorFillsTheLayout)
{
    TextLayer t(Handle(), L"ab", 120.0f, 7.0f, 2, false);
    EXPECT_EQ(t.GetLayout().wrapWidth, 120.0f);
    EXPECT_EQ(t.GetLayout().firstLineIndent, 7.0f);
    EXPECT_EQ(t.GetLayout().alignment, 2);
    EXPECT_EQ(t.GetLayout().letterJustify, 0);
    EXPECT_EQ(t.GetText(), L"ab");
    EXPECT_TRUE(t.mHitRectEnabled);
}

TEST_F(TextLayerTest, FontHandleIsCountedAndReleased)
{
    {
        TextLayer t(Handle(), L"a");
        EXPECT_EQ(mCount, 101);
        int otherCount = 1;
        FixedFont other;
        {
            TextLayer::FontHandle mine(&other, &otherCount);
            t.SetFont(mine);
            EXPECT_EQ(otherCount, 2);
        }
        EXPECT_EQ(mCount, 100); // the old font was let go
        EXPECT_EQ(other.mReleases, 0);
        t.SetFont(Handle());
        EXPECT_EQ(otherCount, 0);
        EXPECT_EQ(other.mReleases, 1); // the last hold hands the font back
        EXPECT_EQ(mCount, 101);
    }
    EXPECT_EQ(mCount, 100);
}

TEST_F(TextLayerTest, DrawsUnderItsOwnStateAndRestoresTheContext)
{
    layer::Layer parent;
    parent.mOpacity = 0.5f;
    TextLayer t(Handle(), L"abc", 80.0f, 3.0f, 1, true);
    parent.AddChild(&t);
    t.SetAlignment(2, 1);
    t.SetMeasureToText(true);
    t.mColor = math::Point4(1, 0.5f, 0.25f, 1);
    t.mTint = true;
    t.mTintAmount = 0.75f;

    FixedFont contextFont;
    math::Transform3D callerWorld;
    render::ShaderTextured* custom = mRender.GetTexturedTintShaderObject();
    Frame([&](render::Graphics& g) {
        g.SetShader(custom); // mode 0: a shader of the caller's own
        g.SetColor(0.1f, 0.2f, 0.3f, 0.4f);
        g.mTint = 0.3f;
        g.mWorldTransform = &callerWorld;
        g.mFont = &contextFont;
        ASSERT_EQ(parent.Render(&g), HV_OK);

        EXPECT_EQ(g.mTexturedShaderMode, 0);
        EXPECT_EQ(g.mTexturedShader, custom);
        EXPECT_EQ(g.mColor[0], 0.1f);
        EXPECT_EQ(g.mColor[3], 0.4f);
        EXPECT_EQ(g.mTint, 0.3f);
        EXPECT_EQ(g.mWorldTransform, &callerWorld);
        EXPECT_EQ(g.mFont, &contextFont);
    });

    ASSERT_EQ(mFont.mDraws.size(), 1u);
    const FixedFont::Seen& s = mFont.mDraws[0];
    EXPECT_EQ(s.font, &mFont);
    EXPECT_EQ(s.shaderMode, 2);
    EXPECT_EQ(s.tint, 0.75f);
    EXPECT_EQ(s.world, &t.mWorldTransform);
    EXPECT_FLOAT_EQ(s.color[1], 0.5f);
    EXPECT_FLOAT_EQ(s.color[3], 0.5f); // the effective opacity
    EXPECT_EQ(s.layout.wrapWidth, 80.0f);
    EXPECT_EQ(s.layout.alignment, 1);
    EXPECT_EQ(s.layout.measureToText, 1);
    EXPECT_EQ(s.alignH, 2);
    EXPECT_EQ(s.alignV, 1);
}

TEST_F(TextLayerTest, UntintedDrawLeavesATintingContextAsItWas)
{
    TextLayer t(Handle(), L"abc");
    t.mAdditive = true;
    std::vector<rendertest::Call> calls = Frame([&](render::Graphics& g) {
        g.SetShaderMode(2);
        g.mTint = 0.6f;
        ASSERT_EQ(t.Render(&g), HV_OK);
        EXPECT_EQ(g.mTexturedShaderMode, 2);
        EXPECT_EQ(g.mTexturedShader, mRender.GetTexturedTintShaderObject());
        EXPECT_EQ(g.mTint, 0.6f);
        EXPECT_EQ(g.mFont, nullptr);
    });
    ASSERT_EQ(mFont.mDraws.size(), 1u);
    EXPECT_EQ(mFont.mDraws[0].shaderMode, 1);
    EXPECT_EQ(mFont.mDraws[0].layout.measureToText, 0); // the layer's flag, off by default
}

TEST_F(TextLayerTest, WithoutFontOrTextNothingIsDrawnOrHit)
{
    struct Case
    {
        const char* name;
        bool font;
        std::wstring text;
    };
    const Case cases[] = {{"no font", false, L"abc"}, {"empty text", true, L""}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mFont.mDraws.clear();
        TextLayer t(c.font ? Handle() : TextLayer::FontHandle(), c.text);
        layer::HitTestListener listener;
        t.mHitListener = &listener;
        Frame([&](render::Graphics& g) { EXPECT_EQ(t.Render(&g), HV_OK); });
        EXPECT_TRUE(mFont.mDraws.empty());
        EXPECT_TRUE(t.UpdateBounds());
        EXPECT_GT(t.mHitRect.mMin.x, t.mHitRect.mMax.x);
        EXPECT_FALSE(Hits(t, 0, 0));
    }
}

TEST_F(TextLayerTest, HitRectangleFollowsTheText)
{
    layer::Layer root;
    layer::HitTestListener listener;
    root.mHitListener = &listener;
    TextLayer t(Handle(), L"ab");
    root.AddChild(&t);
    t.SetPosition(100, 50, 0);
    EXPECT_TRUE(Hits(root, 101, 51));  // measured without being asked
    EXPECT_FALSE(Hits(root, 125, 51)); // beyond two glyphs
    t.SetText(L"abcd");
    EXPECT_TRUE(Hits(root, 125, 51));
    t.SetAlignment(2, 2); // centred on the position
    EXPECT_TRUE(Hits(root, 81, 41));
    EXPECT_FALSE(Hits(root, 125, 51));
}

TEST_F(TextLayerTest, EverySourceChangeMarksTheHitRectangle)
{
    struct Case
    {
        const char* name;
        std::function<void(TextLayer&)> change;
        bool marks;
    };
    const Case cases[] = {
        {"text", [](TextLayer& t) { t.SetText(L"xyz"); }, true},
        {"same text", [](TextLayer& t) { t.SetText(L"ab"); }, false},
        {"alignment", [](TextLayer& t) { t.SetAlignment(0, 3); }, true},
        {"layout", [](TextLayer& t) { t.SetLayout(render::TextLayout{}); }, true},
        {"measure-to-text flag", [](TextLayer& t) { t.SetMeasureToText(true); }, true},
        {"font", [this](TextLayer& t) { t.SetFont(Handle()); }, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TextLayer t(Handle(), L"ab");
        t.UpdateBounds();
        ASSERT_TRUE(t.mHitRectValid);
        c.change(t);
        EXPECT_EQ(!t.mHitRectValid, c.marks);
    }
}

TEST_F(TextLayerTest, SnapToPixelsPutsTheTextBoxOnWholePixels)
{
    TextLayer t(Handle(), L"abc"); // 30 x 20, centred: box from (-15, -10)
    t.SetAlignment(2, 2);
    t.SetPosition(10.3f, 5.6f, 0);
    t.SnapToPixels();
    EXPECT_FLOAT_EQ(t.mPosition.x, 10.0f);
    EXPECT_FLOAT_EQ(t.mPosition.y, 5.0f);

    TextLayer odd(Handle(), L"a"); // 10 wide: its centred box starts at -5
    odd.SetAlignment(2, 0);
    odd.SetPosition(7.0f, 3.0f, 0);
    odd.UpdateBounds();
    odd.SnapToPixels(); // already on whole pixels: not moved
    EXPECT_TRUE(odd.mBoxValid);
    EXPECT_EQ(odd.mPosition.x, 7.0f);

    TextLayer empty(TextLayer::FontHandle(), L"a");
    empty.SetPosition(1.5f, 2.5f, 0);
    empty.SnapToPixels();
    EXPECT_EQ(empty.mPosition.x, 1.5f);
}
} // namespace
} // namespace layertest
