// The pause menu: its buttons from "nq/data/ingame", press and release, the
// icon above the buttons and the hover growth.
#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDIngameMenu.h"

#include <gtest/gtest.h>

#include <set>

namespace gametest
{
namespace
{
void AddButton(std::vector<FixtureLayer>& layers, const std::string& folder, int x, int y, int& index)
{
    layers.push_back({"button/" + folder + "/pos", x, y, 200, 40, 0, index++, false});
    layers.push_back({"button/" + folder + "/label", x + 10, y + 5, 180, 30, 0, index++, false});
}

// Five buttons in a column; "levels" and "mmenu" overlap between y 130 and 140.
std::vector<FixtureLayer> IngameLayers()
{
    std::vector<FixtureLayer> layers = {
        {"main_menu_ico", 300, 20, 60, 60, 0xFF303030u, 0},
        {"bg", 0, 0, 400, 400, 0xFF101010u, 20},
    };
    int index = 1;
    AddButton(layers, "b1_levels", 100, 100, index);
    AddButton(layers, "b1_mmenu", 100, 130, index);
    AddButton(layers, "b1_options", 100, 200, index);
    AddButton(layers, "b1_restart", 100, 250, index);
    AddButton(layers, "b1_resume", 100, 300, index);
    layers.push_back({"button/b1_normal", 0, 0, 200, 40, 0xFF00FF00u, 30});
    layers.push_back({"button/b1_over", 0, 0, 200, 40, 0xFFFF0000u, 31});
    layers.push_back({"text/caption", 50, 10, 300, 50, 0, 32, false});
    return layers;
}

class IngameMenuTest : public FrontEndTest
{
protected:
    IngameMenuTest()
    {
        extraStrings = "ingame_caption;Paused\nb1_resume;Resume\nb1_restart;Restart\nb1_mmenu;Menu\n"
                       "b1_levels;Levels\nb1_options;Options\n";
    }
    void SetUp() override
    {
        FrontEndTest::SetUp();
        WriteLayout("nq/data/ingame", IngameLayers());
        menu = std::make_unique<HUDIngameMenu>();
    }
    void TearDown() override
    {
        menu.reset();
        FrontEndTest::TearDown();
    }

    HUDButtonOver* Button(const std::wstring& name)
    {
        for (HUDButtonOver* button : menu->mOverButtons)
            if (button->mName == name)
                return button;
        return nullptr;
    }

    std::unique_ptr<HUDIngameMenu> menu;
};

TEST_F(IngameMenuTest, TheLayoutGivesTheFiveNamesLabelsAndFonts)
{
    std::set<std::wstring> names;
    for (const HUDButtonOver* button : menu->mOverButtons)
    {
        names.insert(button->mName);
        EXPECT_EQ(button->mFont.Get(), Board()->GetFont(GameWindow::kFontLarge).Get());
    }
    EXPECT_EQ(names, (std::set<std::wstring>{L"resume", L"restart", L"mmenu", L"levels", L"options"}));
    EXPECT_EQ(Button(L"resume")->mLabel, L"Resume");
    EXPECT_NE(menu->mLayoutContainer, nullptr) << "kept for the menu's life";
    EXPECT_EQ(menu->mFont.Get(), Board()->GetFont(GameWindow::kFontLarge).Get());
    ASSERT_EQ(menu->mTexts.size(), 1u);
    EXPECT_EQ(menu->mTexts[0].second, L"Paused");
    // The icon starts hidden, the images sorted by layer index.
    ASSERT_EQ(menu->mImages.size(), 2u);
    EXPECT_EQ(menu->mImages[0]->mName, L"main_menu_ico");
    EXPECT_EQ(menu->mImages[0]->mShown, 0);
}

TEST_F(IngameMenuTest, OverlappingButtonsAnswerTheEarlierWithOneSound)
{
    ClearSounds();
    EXPECT_EQ(menu->Click(150, 135), L"levels");
    EXPECT_EQ(Heard(L"simple"), 1);
    EXPECT_EQ(menu->Click(150, 160), L"mmenu");
    EXPECT_EQ(menu->Click(10, 10), L"");
    EXPECT_EQ(Heard(L"simple"), 2);
}

TEST_F(IngameMenuTest, APressOnOneButtonAndAReleaseOnAnotherAnswersTheSecond)
{
    HUDButtonOver* resume = Button(L"resume");
    menu->OnMouseDown(150, 310);
    EXPECT_EQ(resume->mPressed, 1);
    menu->OnMouseMove(150, 260);
    menu->OnMouseUp(150, 260);
    EXPECT_EQ(resume->mPressed, 0);
    EXPECT_EQ(menu->Click(150, 260), L"restart");
    EXPECT_EQ(menu->mPointerX, 150.0f) << "the move reaches the window too";
}

TEST_F(IngameMenuTest, TheIconIsDrawnAboveEveryButton)
{
    const render::Texture* icon = nullptr;
    for (const NQFrameEntry* image : menu->mImages)
        if (image->mName == L"main_menu_ico")
            icon = TextureOf(image->mPicture);
    const render::Texture* normal = TextureOf(Button(L"resume")->mNormal->mPicture);
    ASSERT_NE(icon, nullptr);
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { menu->Draw(g); });
    int lastButton = -1;
    int iconAt = -1;
    int icons = 0;
    for (size_t i = 0; i < quads.size(); ++i)
    {
        if (quads[i].texture == normal)
            lastButton = int(i);
        if (quads[i].texture == icon)
        {
            iconAt = int(i);
            ++icons;
        }
    }
    EXPECT_EQ(icons, 1);
    EXPECT_GT(lastButton, 0);
    EXPECT_GT(iconAt, lastButton);
}

TEST_F(IngameMenuTest, HoverGrowsToItsLimitAndShrinksBack)
{
    HUDButtonOver* options = Button(L"options");
    menu->OnMouseMove(150, 210);
    for (int i = 0; i < 4; ++i)
        menu->Update(0.05f);
    EXPECT_NEAR(options->mScale, 1.1f, 1e-5f);
    menu->OnMouseMove(5, 5);
    for (int i = 0; i < 2; ++i)
        menu->Update(0.05f);
    EXPECT_NEAR(options->mScale, 1.0f, 1e-5f);
}

TEST_F(IngameMenuTest, HitTestFindsNothing)
{
    for (const auto& [x, y] : {std::pair{150, 310}, std::pair{150, 135}, std::pair{310, 30}, std::pair{0, 0}})
        EXPECT_EQ(menu->HitTest(x, y), -1) << x << "," << y;
}
} // namespace
} // namespace gametest
