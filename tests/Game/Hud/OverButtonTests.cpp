#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/OverButtons.h"
#include "Game/NQFrameEntry.h"

#include "Core/Base/DeleteAll.h"

#include <gtest/gtest.h>

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
} // namespace
} // namespace gametest
