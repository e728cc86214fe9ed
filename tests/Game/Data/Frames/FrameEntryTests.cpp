// Frame entries and button frames.
#include "GameTestFixture.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
constexpr float kTolerance = 1e-3f;

class FrameEntryTest : public gametest::GameTest
{
protected:
    // A 40 x 20 picture, owned by the caller.
    render::Image* Picture()
    {
        data->Write("pics/button.png", gametest::SolidPng(40, 20, 0xFF336699u));
        return StartApplication()->LoadImage(L"pics/button.png", nullptr);
    }

    static void Place(NQFrameEntry& entry, float x, float y, float w, float h)
    {
        entry.mRect[0] = x;
        entry.mRect[1] = y;
        entry.mRect[2] = w;
        entry.mRect[3] = h;
    }
};

TEST_F(FrameEntryTest, Defaults)
{
    NQButtonFrame button;
    EXPECT_EQ(button.mOwnsPicture, 0);
    EXPECT_EQ(button.mShown, 1);
    EXPECT_EQ(button.mColor[3], 1.0f);
    EXPECT_EQ(button.mPicture, nullptr);
    EXPECT_EQ(button.mHoverScale, 1.0f);
    EXPECT_EQ(button.mHovered, 0);
    const float* m = button.mTransform.GetMatrix();
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[2], 0.0f);
    // The base operations do nothing.
    NQFrameEntry plain;
    plain.HitTest(0, 0);
    plain.Update(1.0f);
    plain.Draw(nullptr, 1.0f);
}

TEST_F(FrameEntryTest, TheHoverTestExcludesTheEdges)
{
    NQButtonFrame button;
    Place(button, 10, 20, 100, 50);
    struct Case
    {
        int x, y, hovered;
    };
    const Case cases[] = {
        {10, 30, 0}, {11, 21, 1}, {110, 30, 0}, {109, 69, 1}, {50, 70, 0},
        {50, 20, 0}, {60, 45, 1}, {-5, 45, 0},  {60, 200, 0},
    };
    for (const Case& c : cases)
    {
        button.HitTest(c.x, c.y);
        EXPECT_EQ(button.mHovered, c.hovered) << c.x << ", " << c.y;
    }
}

TEST_F(FrameEntryTest, TheHoverScaleGrowsAndShrinksWithinItsBounds)
{
    NQButtonFrame button;
    Place(button, 0, 0, 10, 10);
    button.HitTest(5, 5);
    button.Update(0.25f);
    EXPECT_FLOAT_EQ(button.mHoverScale, 1.1f);
    button.Update(0.25f);
    EXPECT_FLOAT_EQ(button.mHoverScale, 1.1f);
    button.HitTest(50, 5);
    button.Update(0.05f);
    EXPECT_NEAR(button.mHoverScale, 1.05f, 1e-6f);
    button.Update(0.05f);
    EXPECT_NEAR(button.mHoverScale, 1.0f, 1e-6f);
    button.Update(0.05f);
    EXPECT_FLOAT_EQ(button.mHoverScale, 1.0f);
    button.HitTest(5, 5);
    button.Update(0.1f);
    EXPECT_NEAR(button.mHoverScale, 1.05f, 1e-6f);
}

TEST_F(FrameEntryTest, AButtonIsDrawnAboutHalfTheViewAtTheWindowScale)
{
    NQButtonFrame button;
    button.mPicture = Picture();
    button.mOwnsPicture = 1;
    Place(button, 100, 200, 40, 20);
    button.mColor[0] = 0.5f;
    button.mColor[3] = 0.8f;
    struct Case
    {
        float viewWidth;
        float scale;
        bool hovered;
    };
    const Case cases[] = {
        {1024, 1.0f, false}, {1366, 1.0f, false}, {1024, 0.5f, false}, {1366, 0.5f, false}, {1366, 0.5f, true},
    };
    for (const Case& c : cases)
    {
        services->view = {0, 0, c.viewWidth, 768};
        button.mHovered = c.hovered ? 1 : 0;
        button.mHoverScale = c.hovered ? 1.1f : 1.0f;
        const auto quads = Recorder()->Record([&](render::Graphics* g) {
            button.Draw(g, c.scale);
            // The colour is left as the button set it.
            EXPECT_EQ(g->mColor[3], 0.8f);
        });
        ASSERT_EQ(quads.size(), 1u);
        const float hx = c.viewWidth / 2, hy = 768.0f / 2;
        EXPECT_NEAR(quads[0].CentreX(), hx + (120 - hx) * c.scale, kTolerance) << c.viewWidth << " " << c.scale;
        EXPECT_NEAR(quads[0].CentreY(), hy + (210 - hy) * c.scale, kTolerance) << c.viewWidth << " " << c.scale;
        EXPECT_NEAR(quads[0].Width(), 40 * button.mHoverScale * c.scale, kTolerance);
        EXPECT_NEAR(quads[0].Height(), 20 * button.mHoverScale * c.scale, kTolerance);
        EXPECT_NEAR(quads[0].color[0], 0.5f, 1.0f / 255);
        EXPECT_NEAR(quads[0].Alpha(), 0.8f, 1.0f / 255);
        EXPECT_EQ(quads[0].texture, gametest::TextureOf(button.mPicture));
    }
}

TEST_F(FrameEntryTest, AButtonWithoutAPictureDrawsNothingButStillWorks)
{
    NQButtonFrame button;
    button.mName = L"play";
    Place(button, 0, 0, 10, 10);
    services->view = {0, 0, 1024, 768};
    const auto quads = Recorder()->Record([&](render::Graphics* g) { button.Draw(g, 1.0f); });
    EXPECT_TRUE(quads.empty());
    button.HitTest(5, 5);
    button.Update(1.0f);
    EXPECT_EQ(button.mHovered, 1);
    EXPECT_FLOAT_EQ(button.mHoverScale, 1.1f);
    EXPECT_EQ(button.mName, L"play");
}

TEST_F(FrameEntryTest, ACopyBorrowsThePictureOfItsSource)
{
    auto owner = std::make_unique<NQButtonFrame>();
    owner->mPicture = Picture();
    owner->mOwnsPicture = 1;
    owner->mName = L"play";
    owner->mLayerIndex = 7;
    owner->mDepth = 3.5f;
    owner->mShown = 0;
    owner->mAdditive = 1;
    owner->mTransform.Translate(5, 6);
    Place(*owner, 1, 2, 3, 4);

    auto* copy = new NQFrameEntry(*owner);
    EXPECT_EQ(copy->mOwnsPicture, 0);
    EXPECT_EQ(copy->mPicture, owner->mPicture);
    EXPECT_EQ(copy->mName, L"play");
    EXPECT_EQ(copy->mLayerIndex, 7);
    EXPECT_EQ(copy->mDepth, 3.5f);
    EXPECT_EQ(copy->mShown, 0);
    EXPECT_EQ(copy->mAdditive, 1);
    EXPECT_EQ(copy->mRect[3], 4.0f);
    EXPECT_EQ(copy->mTransform.GetMatrix()[5], 6.0f);
    delete copy;

    NQFrameEntry assigned;
    assigned = *owner;
    EXPECT_EQ(assigned.mOwnsPicture, 0);

    // The picture outlives its borrowers: a freed one would show under ASan.
    EXPECT_EQ(owner->mPicture->GetWidth(), 40);
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        services->view = {0, 0, 1024, 768};
        owner->Draw(g, 1.0f);
    });
    EXPECT_EQ(quads.size(), 1u);
}
} // namespace
