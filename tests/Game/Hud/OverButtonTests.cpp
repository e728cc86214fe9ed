#include "FrontEndFixture.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/OverButtons.h"

#include "Core/Base/DeleteAll.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gametest
{
namespace
{
std::vector<FixtureLayer> MenuLayers()
{
    return {
        {"bg", 0, 0, 100, 100, 0xFF101010u, 2},
        {"main_menu_ico", 0, 0, 50, 50, 0xFF202020u, 1},
        {"text/title", 0, 0, 300, 40, 0, 3, false},
        {"button/b2_play/pos", 400, 100, 200, 60, 0, 4, false},
        {"button/b2_play/label", 400, 100, 200, 60, 0, 5, false},
        {"button/b1_ok/pos", 100, 300, 100, 40, 0, 6, false},
        {"button/b1_ok/label", 100, 300, 100, 40, 0, 7, false},
        // Overlaps "ok" on its right half.
        {"button/b1_cancel/pos", 150, 300, 100, 40, 0, 8, false},
        {"button/b1_cancel/label", 150, 300, 100, 40, 0, 9, false},
        {"button/b1_normal", 0, 0, 100, 40, 0xFF00FF00u, 10},
        {"button/b1_over", 0, 0, 100, 40, 0xFFFF0000u, 11},
        {"button/b2_normal", 0, 0, 200, 60, 0xFF0000FFu, 12},
        {"button/b2_over", 0, 0, 200, 60, 0xFF00FFFFu, 13},
    };
}

// A window that keeps over buttons, as the menus and modal windows do.
class OverWindow : public HUDWindow
{
public:
    ~OverWindow() override { base::DeleteAll(buttons); }
    std::vector<HUDButtonOver*> buttons;
};

class OverButtonTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        extraStrings = "b1_ok;OK\nb1_cancel;Cancel\nb2_play;Play\n";
        FrontEndTest::SetUp();
        WriteLayout("ui/menu", MenuLayers());
    }
};

TEST_F(OverButtonTest, TheLoaderListsTheFoldersWithBareNamesLabelsAndFonts)
{
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/menu");
    EXPECT_NE(window.mLayoutContainer, nullptr);
    EXPECT_TRUE(window.mButtons.empty());
    ASSERT_EQ(window.mImages.size(), 2u);
    EXPECT_EQ(window.mImages[0]->mName, L"main_menu_ico");
    EXPECT_EQ(window.mImages[0]->mShown, 1);
    EXPECT_TRUE(window.mTextSlots.count(L"title"));

    ASSERT_EQ(window.buttons.size(), 3u);
    const wchar_t* names[] = {L"cancel", L"ok", L"play"};
    const wchar_t* labels[] = {L"Cancel", L"OK", L"Play"};
    const int fonts[] = {GameWindow::kFontNormal, GameWindow::kFontNormal, GameWindow::kFontLarge};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(window.buttons[i]->mName, names[i]);
        EXPECT_EQ(window.buttons[i]->mLabel, labels[i]);
        EXPECT_EQ(window.buttons[i]->mFont.Get(), Board()->GetFont(fonts[i]).Get()) << i;
    }
}

TEST_F(OverButtonTest, TheInGameFormHidesTheMenuIconAndEnlargesEveryLabel)
{
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/menu", overbuttons::kIngameMenuForm);
    ASSERT_EQ(window.mImages.size(), 2u);
    EXPECT_EQ(window.mImages[0]->mShown, 0);
    EXPECT_EQ(window.mImages[1]->mShown, 1);
    ASSERT_EQ(window.buttons.size(), 3u);
    for (const HUDButtonOver* button : window.buttons)
        EXPECT_EQ(button->mFont.Get(), Board()->GetFont(GameWindow::kFontLarge).Get());
}

TEST_F(OverButtonTest, AnUnopenableLayoutGivesNoButtons)
{
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/none");
    EXPECT_TRUE(window.buttons.empty());
    EXPECT_TRUE(window.mImages.empty());
}

TEST_F(OverButtonTest, ClickTakesTheFirstButtonInListOrderWithOneSound)
{
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/menu");
    struct Case
    {
        int x, y;
        std::wstring name;
    };
    // "cancel" comes first in the list, so it wins where the two overlap.
    for (const Case& c : {Case{175, 320, L"cancel"}, Case{120, 320, L"ok"}, Case{500, 130, L"play"}, Case{5, 5, L""}})
    {
        ClearSounds();
        EXPECT_EQ(overbuttons::Click(window.buttons, c.x, c.y), c.name);
        EXPECT_EQ(Heard(L"simple"), c.name.empty() ? 0 : 1);
    }
}

TEST_F(OverButtonTest, PointerPressReleaseAndUpdateReachEveryButton)
{
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/menu");
    overbuttons::MouseMove(window.buttons, 175, 320);
    EXPECT_EQ(window.buttons[0]->mHovered, 1);
    EXPECT_EQ(window.buttons[1]->mHovered, 1);
    EXPECT_EQ(window.buttons[2]->mHovered, 0);
    EXPECT_EQ(window.mPointerX, 0.0f); // the plain move leaves the window alone

    overbuttons::ModalMouseMove(window, window.buttons, 500, 130);
    EXPECT_EQ(window.mPointerX, 500.0f);
    EXPECT_EQ(window.buttons[2]->mHovered, 1);
    EXPECT_EQ(window.buttons[0]->mHovered, 0);

    overbuttons::MouseDown(window.buttons, 175, 320);
    EXPECT_EQ(window.buttons[0]->mPressed, 1);
    EXPECT_EQ(window.buttons[1]->mPressed, 1);
    overbuttons::MouseUp(window.buttons, 0, 0);
    EXPECT_EQ(window.buttons[0]->mPressed, 0);

    window.mPointerX = 77.0f;
    overbuttons::ModalUpdate(window, window.buttons, 0.1f);
    EXPECT_FLOAT_EQ(window.mTime, 0.1f);
    EXPECT_EQ(window.mPointerX, float(Board()->GetPointerX()));
    EXPECT_FLOAT_EQ(window.buttons[2]->mScale, 1.05f);
    EXPECT_FLOAT_EQ(window.buttons[2]->mTimer, 0.1f);
}

TEST_F(OverButtonTest, DrawIsTheWindowThenEveryButtonInOrder)
{
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/menu");
    window.SetImageVisible(L"main_menu_ico", false);
    const std::vector<RecordedQuad> quads =
        Record([&](render::Graphics* g) { overbuttons::Draw(window, window.buttons, g); });
    // "bg", then per button its picture and its label's glyphs.
    ASSERT_GE(quads.size(), 4u);
    EXPECT_EQ(quads[0].texture, TextureOf(window.mImages[1]->mPicture));
    EXPECT_EQ(quads[1].texture, TextureOf(window.buttons[0]->mNormal->mPicture));
    const size_t cancelGlyphs = 6;
    EXPECT_EQ(quads[2 + cancelGlyphs].texture, TextureOf(window.buttons[1]->mNormal->mPicture));
    EXPECT_EQ(quads.back().texture, FontPage(GameWindow::kFontLarge));
}

// The glyph quads of one font, in draw order.
std::vector<RecordedQuad> GlyphsOf(const std::vector<RecordedQuad>& quads, const render::Texture* page)
{
    std::vector<RecordedQuad> glyphs;
    std::copy_if(quads.begin(), quads.end(), std::back_inserter(glyphs),
                 [&](const RecordedQuad& quad) { return quad.texture == page; });
    return glyphs;
}

float LeftOf(const std::vector<RecordedQuad>& glyphs)
{
    float left = glyphs.front().x[0];
    for (const RecordedQuad& quad : glyphs)
        left = std::min({left, quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
    return left;
}

float RightOf(const std::vector<RecordedQuad>& glyphs)
{
    float right = glyphs.front().x[0];
    for (const RecordedQuad& quad : glyphs)
        right = std::max({right, quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
    return right;
}

TEST_F(OverButtonTest, ALabelTooWideIsShrunkIntoItsButtonAndOneThatFitsIsDrawnAsItIs)
{
    struct Case
    {
        std::wstring label;
        bool fits;
    };
    // "ok" is 100 px wide; the fixture's glyphs advance 10 px.
    const Case cases[] = {
        {L"OK", true},
        {L"Abcdefg", true},
        {L"WWWWWWWWWWWWWWWW", false},
        {L"Cancel the whole long thing", false},
    };
    OverWindow window;
    overbuttons::LoadOverLayout(window, window.buttons, L"ui/menu");
    HUDButtonOver* ok = window.buttons[1];
    ASSERT_EQ(ok->mName, L"ok");
    ok->mFont = Board()->GetFont(GameWindow::kFontNormal);
    const render::Texture* page = FontPage(GameWindow::kFontNormal);
    const float left = ok->mLabelRect[0];
    const float right = left + ok->mLabelRect[2];
    const float centreX = left + ok->mLabelRect[2] / 2.0f;
    const float centreY = ok->mLabelRect[1] + ok->mLabelRect[3] / 2.0f;
    for (const Case& c : cases)
    {
        ok->mLabel = c.label;
        const std::vector<RecordedQuad> drawn = GlyphsOf(Record([&](render::Graphics* g) { ok->Draw(g); }), page);
        // The label as drawn with no fitting: centred on its place at its own size.
        const std::vector<RecordedQuad> natural = GlyphsOf(Record([&](render::Graphics* g) {
                                                               g->mFont = ok->mFont.Get();
                                                               math::Transform2D at;
                                                               at.Translate(centreX, centreY);
                                                               auto record = g->DrawText(c.label).Transform(at);
                                                               record->SetAlign(2, 2);
                                                           }),
                                                           page);
        ASSERT_FALSE(natural.empty());
        ASSERT_EQ(drawn.size(), natural.size());
        const float scale = (RightOf(drawn) - LeftOf(drawn)) / (RightOf(natural) - LeftOf(natural));
        if (c.fits)
        {
            EXPECT_EQ(scale, 1.0f);
            EXPECT_GT(RightOf(natural) - LeftOf(natural), 0.0f);
        }
        else
        {
            EXPECT_GT(RightOf(natural), right) << "the case must overflow";
            EXPECT_LT(scale, 1.0f);
            EXPECT_GE(LeftOf(drawn), left + HUDButtonOver::kLabelMargin - 0.5f);
            EXPECT_LE(RightOf(drawn), right - HUDButtonOver::kLabelMargin + 0.5f);
        }
        // Uniformly scaled about the place's centre: every corner of every glyph.
        for (size_t i = 0; i < drawn.size(); ++i)
            for (int k = 0; k < 4; ++k)
            {
                EXPECT_NEAR(drawn[i].x[k], centreX + (natural[i].x[k] - centreX) * scale, 0.01f);
                EXPECT_NEAR(drawn[i].y[k], centreY + (natural[i].y[k] - centreY) * scale, 0.01f);
            }
    }
}
} // namespace
} // namespace gametest
