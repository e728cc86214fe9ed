#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDWindow.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
// Root layers listed with the indices 3, 1, 2; buttons of one base name in
// two groups; text slots "t" (twice, the later one wins) and a nested one
// that is not a slot; a button without a picture file.
std::vector<FixtureLayer> WindowLayers()
{
    return {
        {"r3", 0, 0, 10, 10, 0xFFFF0000u, 3},
        {"r1", 0, 0, 10, 10, 0xFF00FF00u, 1},
        {"r2", 0, 0, 10, 10, 0xFF0000FFu, 2},
        {"button/a/x", 100, 100, 40, 20, 0xFF808080u, 4},
        {"button/b/x", 200, 100, 40, 20, 0xFF404040u, 5},
        {"button/bare", 300, 100, 40, 20, 0xFF202020u, 6, false},
        {"text/t", 0, 300, 100, 20, 0xFFFFFFFFu, 7, false},
        {"text/sub/u", 0, 400, 100, 20, 0xFFFFFFFFu, 8, false},
        {"text/t.b", 0, 500, 200, 40, 0xFFFFFFFFu, 9, false},
    };
}

const render::Texture* Texture(const NQFrameEntry* frame) { return TextureOf(frame->mPicture); }

class HudWindowTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        WriteLayout("ui/win", WindowLayers());
    }
};

TEST_F(HudWindowTest, LayoutGivesSortedPicturesButtonsByBaseNameAndTextSlots)
{
    HUDWindow window(L"ui/win");
    EXPECT_EQ(window.mLayoutContainer, nullptr);
    ASSERT_EQ(window.mImages.size(), 3u);
    EXPECT_EQ(window.mImages[0]->mName, L"r1");
    EXPECT_EQ(window.mImages[1]->mName, L"r2");
    EXPECT_EQ(window.mImages[2]->mName, L"r3");

    ASSERT_EQ(window.mButtons.size(), 3u);
    EXPECT_EQ(window.mButtons[0]->mName, L"x");
    EXPECT_EQ(window.mButtons[1]->mName, L"x");
    EXPECT_EQ(window.FindButton(L"x"), window.mButtons[0]);
    EXPECT_EQ(window.mButtons[2]->mName, L"bare");
    EXPECT_EQ(window.mButtons[2]->mPicture, nullptr);

    ASSERT_EQ(window.mTextSlots.size(), 1u);
    const NQFrameEntry* slot = window.mTextSlots.at(L"t");
    EXPECT_EQ(slot->mRect[1], 500.0f);
    EXPECT_EQ(slot->mRect[2], 200.0f);
    EXPECT_EQ(slot->mPicture, nullptr);
    // The font is the root board's window font.
    EXPECT_EQ(window.mFont.Get(), Board()->GetFont(GameWindow::kFontNormal).Get());
}

TEST_F(HudWindowTest, PicturesDrawInIndexOrderBelowButtonsAndTexts)
{
    HUDWindow window(L"ui/win");
    window.SetText(L"t", L"ab");
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.Draw(g); });
    // Three pictures, two buttons with pictures, two glyphs.
    ASSERT_EQ(quads.size(), 7u);
    EXPECT_EQ(quads[0].texture, Texture(window.mImages[0]));
    EXPECT_EQ(quads[1].texture, Texture(window.mImages[1]));
    EXPECT_EQ(quads[2].texture, Texture(window.mImages[2]));
    EXPECT_EQ(Texture(window.mImages[0]), Texture(window.mImages[0]));
    EXPECT_EQ(quads[3].texture, Texture(window.mButtons[0]));
    EXPECT_EQ(quads[4].texture, Texture(window.mButtons[1]));
    EXPECT_EQ(quads[5].texture, FontPage(GameWindow::kFontNormal));
    EXPECT_EQ(quads[6].texture, FontPage(GameWindow::kFontNormal));
}

TEST_F(HudWindowTest, AButtonWithoutPictureStillAnswersHitTestAndClick)
{
    HUDWindow window(L"ui/win");
    EXPECT_EQ(window.HitTest(320, 110), 2);
    EXPECT_EQ(window.Click(320, 110), L"bare");
    EXPECT_EQ(Heard(L"simple"), 1);
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.DrawButtons(g); });
    EXPECT_EQ(quads.size(), 2u);
}

TEST_F(HudWindowTest, AnUnopenableLayoutGivesAnEmptyWindow)
{
    HUDWindow window(L"ui/missing");
    EXPECT_TRUE(window.mImages.empty());
    EXPECT_TRUE(window.mButtons.empty());
    EXPECT_TRUE(window.mTextSlots.empty());
    EXPECT_EQ(window.HitTest(0, 0), -1);
    EXPECT_EQ(window.Click(0, 0), L"");
    window.SetText(L"t", L"a");
    EXPECT_TRUE(Record([&](render::Graphics* g) { window.Draw(g); }).empty());
}

TEST_F(HudWindowTest, PointerTableOnOneButton)
{
    WriteLayout("ui/one", {{"button/b", 10, 20, 100, 50, 0xFF808080u}});
    struct Case
    {
        int x, y;
        int hit;
        bool hovered;
    };
    const Case cases[] = {
        {10, 40, 0, false},  // left edge
        {110, 40, 0, false}, // right edge
        {50, 70, 0, false},  // bottom edge
        {50, 40, 0, true},   // inside
        {111, 40, -1, false}, // outside
        {50, 71, -1, false},
    };
    HUDWindow window(L"ui/one");
    for (const Case& c : cases)
    {
        ClearSounds();
        EXPECT_EQ(window.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(window.Click(c.x, c.y), c.hit == 0 ? L"b" : L"") << c.x << "," << c.y;
        EXPECT_EQ(Heard(L"simple"), c.hit == 0 ? 1 : 0) << c.x << "," << c.y;
        window.OnMouseMove(c.x, c.y);
        EXPECT_EQ(window.mButtons[0]->mHovered, c.hovered ? 1 : 0) << c.x << "," << c.y;
        EXPECT_EQ(window.mPointerX, float(c.x));
        EXPECT_EQ(window.mPointerY, float(c.y));
    }

    // Hidden: still hit, never clicked, still hover-tested, not drawn.
    window.mButtons[0]->mShown = 0;
    ClearSounds();
    EXPECT_EQ(window.HitTest(50, 40), 0);
    EXPECT_EQ(window.Click(50, 40), L"");
    EXPECT_EQ(Heard(L"simple"), 0);
    window.OnMouseMove(50, 40);
    EXPECT_EQ(window.mButtons[0]->mHovered, 1);
    EXPECT_TRUE(Record([&](render::Graphics* g) { window.Draw(g); }).empty());
}

TEST_F(HudWindowTest, UpdateAdvancesTimeAndButtonHover)
{
    HUDWindow window(L"ui/win");
    window.OnMouseMove(120, 110);
    window.Update(0.1f);
    EXPECT_FLOAT_EQ(window.mTime, 0.1f);
    EXPECT_FLOAT_EQ(window.mButtons[0]->mHoverScale, 1.05f);
    EXPECT_FLOAT_EQ(window.mButtons[1]->mHoverScale, 1.0f);
}

TEST_F(HudWindowTest, TextsKeepFirstSetOrderAndTheLatestText)
{
    WriteLayout("ui/texts", {{"text/a", 0, 0, 200, 20, 0xFFFFFFFFu, 0, false},
                             {"text/b", 0, 100, 200, 20, 0xFFFFFFFFu, 1, false}});
    HUDWindow window(L"ui/texts");
    window.SetText(L"a", L"xxx");
    window.SetText(L"b", L"y");
    window.SetText(L"a", L"zz");
    window.SetText(L"missing", L"never");
    ASSERT_EQ(window.mTexts.size(), 3u);
    EXPECT_EQ(window.mTexts[0].second, L"zz");
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.DrawTexts(g); });
    // "zz" on slot a (centre y 10), then "y" on slot b (centre y 110); nothing for "missing".
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_NEAR(quads[0].CentreY(), 10.0f, 6.0f);
    EXPECT_NEAR(quads[1].CentreY(), 10.0f, 6.0f);
    EXPECT_NEAR(quads[2].CentreY(), 110.0f, 6.0f);
    // Centred on the slot: two glyphs about x = 100.
    EXPECT_NEAR((quads[0].CentreX() + quads[1].CentreX()) / 2.0f, 100.0f, 1.5f);
}

TEST_F(HudWindowTest, CaptionSlotsTakeTheLargeFontOthersTheWindowFont)
{
    WriteLayout("ui/caption", {{"text/caption", 0, 0, 200, 40, 0xFFFFFFFFu, 0, false},
                               {"text/levelResult", 0, 100, 200, 40, 0xFFFFFFFFu, 1, false},
                               {"text/Caption", 0, 200, 200, 40, 0xFFFFFFFFu, 2, false}});
    HUDWindow window(L"ui/caption");
    window.SetText(L"caption", L"a");
    window.SetText(L"levelResult", L"b");
    window.SetText(L"Caption", L"c");
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.DrawTexts(g); });
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[0].texture, FontPage(GameWindow::kFontLarge));
    EXPECT_EQ(quads[1].texture, FontPage(GameWindow::kFontLarge));
    EXPECT_EQ(quads[2].texture, FontPage(GameWindow::kFontNormal));
    EXPECT_NE(FontPage(GameWindow::kFontLarge), FontPage(GameWindow::kFontNormal));
}

TEST_F(HudWindowTest, HalfScaleMovesPicturesTowardTheViewCentre)
{
    WriteLayout("ui/scaled", {{"p", 0, 0, 100, 100, 0xFFFF0000u}});
    HUDWindow window(L"ui/scaled");
    window.mScale = 0.5f;
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.DrawImages(g); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].x[0], 256.0f);
    EXPECT_FLOAT_EQ(quads[0].y[0], 192.0f);
    EXPECT_FLOAT_EQ(quads[0].Width(), 50.0f);
    EXPECT_FLOAT_EQ(quads[0].Height(), 50.0f);
}

TEST_F(HudWindowTest, AtScaleOneEverythingSitsOnItsRectangleInAWideView)
{
    SetView(-171.0f, 0.0f, 1366.0f, 768.0f);
    WriteLayout("ui/wide", {{"p", 30, 40, 100, 60, 0xFFFF0000u},
                            {"button/b", 300, 200, 80, 40, 0xFF00FF00u},
                            {"text/t", 500, 500, 200, 40, 0xFFFFFFFFu, 2, false}});
    HUDWindow window(L"ui/wide");
    window.SetText(L"t", L"a");
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.Draw(g); });
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[0].x[0], 30.0f);
    EXPECT_FLOAT_EQ(quads[0].y[0], 40.0f);
    EXPECT_FLOAT_EQ(quads[0].Width(), 100.0f);
    EXPECT_FLOAT_EQ(quads[1].x[0], 300.0f);
    EXPECT_FLOAT_EQ(quads[1].y[0], 200.0f);
    EXPECT_FLOAT_EQ(quads[1].Width(), 80.0f);
    EXPECT_NEAR(quads[2].CentreX(), 600.0f, 1.0f);
    EXPECT_NEAR(quads[2].CentreY(), 520.0f, 2.0f);
}

TEST_F(HudWindowTest, SetImageVisibleHidesEveryFrameOfTheName)
{
    WriteLayout("ui/twins", {{"p", 0, 0, 10, 10, 0xFFFF0000u, 0}, {"q", 0, 0, 10, 10, 0xFF00FF00u, 1}});
    HUDWindow window(L"ui/twins");
    window.mImages[1]->mName = L"p";
    window.SetImageVisible(L"p", false);
    EXPECT_EQ(window.mImages[0]->mShown, 0);
    EXPECT_EQ(window.mImages[1]->mShown, 0);
    EXPECT_TRUE(Record([&](render::Graphics* g) { window.DrawImages(g); }).empty());
    window.SetImageVisible(L"nobody", true);
    EXPECT_EQ(window.mImages[0]->mShown, 0);
}
} // namespace
} // namespace gametest
