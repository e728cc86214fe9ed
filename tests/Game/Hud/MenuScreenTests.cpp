// The main menu, the profiles screen, level progression, the profile-reset
// question, the tab strip and the scroll bar.
#include "MenuScreensFixture.h"
#include "QuadRecorder.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Render/ParticleSystem.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/NQProgress.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDConfirmProfileResetDialog.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDModalMessage.h"
#include "Game/Hud/HUDProfiles.h"
#include "Game/Hud/HUDScrollBar.h"
#include "Game/Hud/HUDTab.h"
#include "Game/Hud/HUDTabStrip.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace gametest
{
namespace
{
const NQFrameEntry* ImageNamed(const HUDWindow& window, const std::wstring& name)
{
    for (const NQFrameEntry* image : window.mImages)
    {
        if (image->mName == name)
            return image;
    }
    return nullptr;
}

class MainMenuTest : public MenuScreensTest
{
protected:
    HUDMainMenu* OpenMainMenu()
    {
        Hud()->ShowMainMenu();
        Step();
        return TopAs<HUDMainMenu>();
    }
};

TEST_F(MainMenuTest, ShowingItSetsStateMenuNameEffectsAndLanguage)
{
    Map()->mLanguage = L"ru";
    HUDMainMenu* menu = OpenMainMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);
    EXPECT_EQ(Map()->mCurrentMenu, L"mmenu");
    EXPECT_EQ(menu->mEffects.size(), 4u);
    EXPECT_EQ(menu->mOverButtons.size(), 4u);
    EXPECT_EQ(ImageNamed(*menu, L"ru")->mShown, 1);
    EXPECT_EQ(ImageNamed(*menu, L"en")->mShown, 0);
    EXPECT_EQ(menu->mFont.Get(), Board()->GetFont(GameWindow::kFontNormal).Get());

    Hud()->CloseTopWindow();
    Map()->mLanguage = L"de";
    menu = OpenMainMenu();
    EXPECT_EQ(ImageNamed(*menu, L"ru")->mShown, 0);
    EXPECT_EQ(ImageNamed(*menu, L"en")->mShown, 1);
}

TEST_F(MainMenuTest, TheProfileBandAnswersSilentlyAboveAnyButton)
{
    HUDMainMenu* menu = OpenMainMenu();
    ASSERT_NE(menu, nullptr);
    struct Case
    {
        int y;
        std::wstring name;
        int sounds;
    };
    for (const Case& c : {Case{721, L"profile", 0}, Case{1023, L"profile", 0}, Case{720, L"cloze", 1},
                          Case{1024, L"", 0}, Case{kPlayY, L"play", 1}})
    {
        ClearSounds();
        EXPECT_EQ(menu->Click(500, c.y), c.name) << c.y;
        EXPECT_EQ(Heard(L"simple"), c.sounds) << c.y;
    }
}

TEST_F(MainMenuTest, TheGreetingJoinsBothPartsAroundTheName)
{
    struct Case
    {
        std::vector<std::string> names;
        std::string current;
        std::wstring greeting;
    };
    for (const Case& c : {Case{{"Anna"}, "Anna", L"<Anna>"}, Case{{}, "", L"<Stranger>"}})
    {
        SetProfiles(c.names, c.current);
        HUDMainMenu* menu = OpenMainMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(TextOf(*menu, L"greet"), c.greeting);
        Hud()->CloseTopWindow();
    }
}

TEST_F(MainMenuTest, ADamagedProfilesFileIsToldOnceWithOneMessageBox)
{
    file::Profiles::sProfilesReset = true;
    OpenMainMenu();
    frames.Update(0.0f);
    ASSERT_EQ(frames.GetStack().size(), 1u);
    auto* box = dynamic_cast<TMessageBox*>(frames.GetStack().back().mFrame);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->mMessageKey, L"profile_corrupt");
    EXPECT_EQ(box->mAction, L"");
    EXPECT_FALSE(file::Profiles::sProfilesReset);

    frames.CloseAll(true, true);
    Hud()->CloseTopWindow();
    OpenMainMenu();
    frames.Update(0.0f);
    EXPECT_TRUE(frames.GetStack().empty());
}

TEST_F(MainMenuTest, AFailedSaveIsToldOnceARunWithAModalMessage)
{
    OpenMainMenu();
    // The store's temporary file cannot be made while a folder has its name.
    std::filesystem::create_directory(profiles->TemporaryPath());
    Map()->mProgress->SetGems(3);
    Map()->Update(0.0f);
    Step();
    auto* message = TopAs<HUDModalMessage>();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(TextOf(*message, L"message"), L"Not saved");
    EXPECT_EQ(Map()->mScreenState, screen::kModalMessage);

    // Its one button stands 120 right of the layout's "ok".
    Tap(620, 340);
    EXPECT_NE(TopAs<HUDMainMenu>(), nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);

    Map()->mProgress->SetGems(4);
    Map()->Update(0.0f);
    Step();
    EXPECT_NE(TopAs<HUDMainMenu>(), nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);

    // Still tried at every save.
    std::filesystem::remove(profiles->TemporaryPath());
    Map()->mProgress->SetGems(5);
    EXPECT_NE(profiles->FileText().find("amount=\"5\""), std::string::npos);
}

TEST_F(MainMenuTest, AnEffectMissingFromTheLibraryIsLeftOut)
{
    LoadEffects("blik_2");
    HUDMainMenu* menu = OpenMainMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->mEffects.size(), 3u);
    // Updating and drawing the remaining three is safe.
    Step(0.5f);
    Record([&](render::Graphics* g) { menu->Draw(g); });
}

TEST_F(MainMenuTest, TheEffectsAreDrawnAfterTheButtons)
{
    HUDMainMenu* menu = OpenMainMenu();
    ASSERT_NE(menu, nullptr);
    Step(0.5f);
    const render::Texture* atlas = TextureOf(render::ParticleSystem::Instance()->mAtlases.at(0));
    const render::Texture* button = TextureOf(menu->mOverButtons.back()->mNormal->mPicture);
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { menu->Draw(g); });
    int lastButton = -1;
    int firstParticle = -1;
    for (size_t i = 0; i < quads.size(); ++i)
    {
        if (quads[i].texture == button)
            lastButton = int(i);
        if (quads[i].texture == atlas && firstParticle < 0)
            firstParticle = int(i);
    }
    ASSERT_GE(lastButton, 0);
    ASSERT_GE(firstParticle, 0);
    EXPECT_GT(firstParticle, lastButton);
}

TEST_F(MainMenuTest, ThePlayReleaseWithANameOpensTheEpisodeSelect)
{
    SetProfiles({"Anna"}, "Anna");
    OpenMainMenu();
    Tap(kPlayX, kPlayY);
    EXPECT_EQ(Map()->mScreenState, screen::kEpisodeSelect);
    EXPECT_NE(TopAs<HUDEpisodeSelectIOS>(), nullptr);
    EXPECT_EQ(Hud()->mWindows.size(), 1u);
}

TEST_F(MainMenuTest, ANameTypedAfterPlayContinuesToTheEpisodeSelect)
{
    // The fixture's "ok" lies over the episode select's plate area: a release
    // read as the episode select's would open the first episode.
    SetProfiles({}, "");
    OpenMainMenu();
    Tap(kPlayX, kPlayY);
    ASSERT_EQ(Map()->mScreenState, screen::kNewProfileName);
    ASSERT_NE(TopAs<HUDModalInput>(), nullptr);
    EXPECT_EQ(Map()->mCurrentMenu, L"mmenu");
    Hud()->OnChar('Z');
    Step();

    Tap(500, 340);
    EXPECT_EQ(Map()->mScreenState, screen::kEpisodeSelect);
    EXPECT_NE(TopAs<HUDEpisodeSelectIOS>(), nullptr);
    EXPECT_EQ(Hud()->mWindows.size(), 1u);
    EXPECT_FALSE(Map()->mProgress->GetCurrentName().empty());
    Step();
    EXPECT_EQ(TopAs<HUDLevelSelect>(), nullptr);
    EXPECT_EQ(Hud()->mWindows.size(), 1u);
}

class ProfilesTest : public MenuScreensTest
{
protected:
    HUDProfiles* OpenProfiles()
    {
        Hud()->ShowProfiles();
        Step();
        return TopAs<HUDProfiles>();
    }
    static int RowY(int k) { return 100 + 60 * k + 25; }
};

TEST_F(ProfilesTest, RefreshShowsTheRowsTheCurrentRowButtonAndConfirm)
{
    struct Case
    {
        std::vector<std::string> names;
        std::string current;
        int visibleRow; // 0: none
    };
    const Case cases[] = {
        {{}, "", 0},
        {{"Anna", "Ben"}, "Ben", 2},
        {{"A", "B", "C", "D", "E"}, "A", 1},
    };
    for (const Case& c : cases)
    {
        SetProfiles(c.names, c.current);
        HUDProfiles* screen = OpenProfiles();
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(Map()->mScreenState, screen::kProfiles);
        EXPECT_EQ(Map()->mCurrentMenu, L"");
        for (int k = 1; k <= 5; ++k)
        {
            const std::wstring expected =
                k <= int(c.names.size()) ? std::wstring(c.names[k - 1].begin(), c.names[k - 1].end()) : L"-";
            EXPECT_EQ(TextOf(*screen, L"profile" + std::to_wstring(k)), expected) << k;
            HUDButtonOver* row = screen->FindOverButton(L"p" + std::to_wstring(k));
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->mLabel, expected);
            EXPECT_EQ(row->mVisible, k == c.visibleRow ? 1 : 0) << c.names.size() << " row " << k;
        }
        EXPECT_EQ(screen->FindOverButton(L"confirm")->mVisible, c.names.empty() ? 0 : 1);
        EXPECT_EQ(TextOf(*screen, L"caption"), L"Players");
        EXPECT_EQ(TextOf(*screen, L"select"), L"Pick one");
        Hud()->CloseTopWindow();
    }
}

TEST_F(ProfilesTest, APressStrictlyInsideARowSelectsItsProfile)
{
    SetProfiles({"Anna", "Ben", "Cleo"}, "Anna");
    HUDProfiles* screen = OpenProfiles();
    ASSERT_NE(screen, nullptr);
    Press(500, RowY(2));
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Ben");
    EXPECT_EQ(file::Profiles::Instance()->GetCurrentProfileName(), L"Ben");
    EXPECT_EQ(screen->FindOverButton(L"p2")->mVisible, 1);
    EXPECT_EQ(screen->FindOverButton(L"p1")->mVisible, 0);
}

TEST_F(ProfilesTest, BordersAndEmptyRowsSelectNothing)
{
    SetProfiles({"Anna", "Ben"}, "Ben");
    OpenProfiles();
    // Row 1's top edge, its left edge, and row 4 (empty).
    for (auto [x, y] : {std::pair{500, 160}, std::pair{300, RowY(1)}, std::pair{500, RowY(4)}})
    {
        Press(x, y);
        Release(x, y);
        EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Ben") << x << "," << y;
    }
}

TEST_F(ProfilesTest, APressOnTheCurrentRowSavesAgain)
{
    SetProfiles({"Anna"}, "Anna");
    OpenProfiles();
    profiles->WriteFile("<Profiles/>");
    Press(500, RowY(1));
    // The store wrote its document over the file again.
    file::Profiles::Instance()->Load();
    EXPECT_EQ(file::Profiles::Instance()->GetCurrentProfileName(), L"Anna");
}

TEST_F(ProfilesTest, AThirdSlotBeforeTheRowsShiftsTheSelection)
{
    // "aaa" sorts before "profile1" besides caption and header: row k
    // selects profile k + 1, and the last filled row selects nothing.
    std::vector<FixtureLayer> layers = ProfilesLayers();
    layers.push_back({"text/aaa", 0, 0, 10, 10, 0, -1, false});
    WriteLayout("nq/data/profiles", layers);
    SetProfiles({"Anna", "Ben", "Cleo"}, "Anna");
    OpenProfiles();
    Press(500, RowY(3));
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Anna");
    Press(500, RowY(2));
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Cleo");
}

TEST_F(ProfilesTest, DeleteAsksForTheConfirmationOnlyWithAName)
{
    SetProfiles({"Anna"}, "Anna");
    HUDProfiles* screen = OpenProfiles();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Click(800, 300), L"delete");
    EXPECT_NE(Board()->GetOverlay(GameWindow::kConfirmSlot), nullptr);
    Board()->SetConfirmOverlay(nullptr);

    SetProfiles({}, "");
    screen = OpenProfiles();
    EXPECT_EQ(screen->Click(800, 300), L"delete");
    EXPECT_EQ(Board()->GetOverlay(GameWindow::kConfirmSlot), nullptr);
}

using ProgressionTest = MenuScreensTest;

TEST_F(ProgressionTest, NextLevelStartsTheNextOrReturnsToTheEpisodes)
{
    struct Case
    {
        int mode;
        int level;
        bool starts;
        int modeAfter;
    };
    // Episode 0: 7 normal levels and 2 hardcore ones; the profile's mode is 1.
    const Case cases[] = {
        {1, 6, false, 1},
        {1, 2, true, 1},
        {3, 0, true, 3},
        {3, 1, false, 1},
    };
    for (const Case& c : cases)
    {
        Map()->mEpisode = 0;
        Map()->mLevel = c.level;
        Map()->mMode = c.mode;
        tutorial->events.clear();
        while (Hud()->HasWindows())
            Hud()->CloseTopWindow();
        Map()->mScreenState = screen::kWon;
        Hud()->NextLevel();
        Step();
        EXPECT_EQ(Map()->mLevel, c.level + 1);
        EXPECT_EQ(Map()->mMode, c.modeAfter) << c.mode << " " << c.level;
        const std::wstring started = L"level_1_" + std::to_wstring(c.level + 2) + L"_start";
        const bool didStart = std::find(tutorial->events.begin(), tutorial->events.end(), started) !=
                              tutorial->events.end();
        EXPECT_EQ(didStart, c.starts) << c.mode << " " << c.level;
        EXPECT_EQ(TopAs<HUDEpisodeSelectIOS>() != nullptr, !c.starts) << c.mode << " " << c.level;
        if (!c.starts)
        {
            EXPECT_EQ(Map()->mScreenState, screen::kEpisodeSelect);
        }
    }
}

TEST_F(ProgressionTest, AcceptingTheProfileResetStartsThePlayerOver)
{
    SetProfiles({"Anna", "Ben"}, "Anna");
    SetStars(0, 0, 1, 3);
    Map()->mProgress->Save();
    Map()->mEconomy->mGems = 40;
    Map()->mEconomy->mGemsGained = 5;
    Hud()->ShowProfiles();
    Step();
    Hud()->ConfirmProfileReset();
    auto* dialog = dynamic_cast<HUDConfirmProfileResetDialog*>(Board()->GetOverlay(GameWindow::kConfirmSlot));
    ASSERT_NE(dialog, nullptr);
    dialog->OnAccept();
    Step();
    EXPECT_EQ(dialog->mAlive, 0);
    EXPECT_EQ(Map()->mProgress->GetStars(-1), 0);
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Anna");
    EXPECT_EQ(Map()->mProgress->GetProfileNames().size(), 2u);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);
    EXPECT_NE(TopAs<HUDMainMenu>(), nullptr);
    EXPECT_EQ(Hud()->mWindows.size(), 1u);
    EXPECT_EQ(Map()->mEconomy->mGems, 0);
    EXPECT_EQ(Map()->mEconomy->mGemsGained, 0);
}

class TabStripTest : public MenuScreensTest
{
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        layout.reset(file::FileManager::Instance()->OpenImageContainer(L"nq/level_select"));
        ASSERT_NE(layout, nullptr);
    }
    void TearDown() override
    {
        layout.reset();
        MenuScreensTest::TearDown();
    }
    std::unique_ptr<file::ImageContainer> layout;
    const std::vector<std::wstring> names{L"level_tab_0", L"level_tab_1", L"level_tab_2"};
};

TEST_F(TabStripTest, TabsAdvanceOnlyPastEnabledTabs)
{
    struct Case
    {
        std::vector<bool> enabled;
        float x[3];
    };
    for (const Case& c : {Case{{true, true, true}, {216, 506, 796}}, Case{{true, false, true}, {216, 506, 506}}})
    {
        HUDTabStrip strip(layout.get(), names, c.enabled);
        ASSERT_EQ(strip.mTabs.size(), 3u);
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(strip.mTabs[i]->mRoot->mPosition.x, c.x[i]);
            // The bottom edge of "tabs/up_button_ac".
            EXPECT_EQ(strip.mTabs[i]->mRoot->mPosition.y, 700.0f);
        }
        EXPECT_EQ(strip.mTabs[0]->mSelected, 1);
        EXPECT_EQ(strip.mTabs[0]->mLabel->GetText(), L"Easy");
    }
    HUDTabStrip strip(layout.get(), names, {true, false, true});
    // The third covers the disabled second: it answers there.
    EXPECT_EQ(strip.HitTest(506, 680), 2);
    EXPECT_EQ(strip.mTabs[2]->mSelected, 1);
    EXPECT_EQ(strip.mTabs[0]->mSelected, 0);
}

TEST_F(TabStripTest, HitTestIsStrictAndSelectMovesTheTabOnTop)
{
    HUDTabStrip strip(layout.get(), names, {true, true, true});
    // Tab 1 spans x 406..606, y 640..700 around its root (506, 700).
    EXPECT_EQ(strip.HitTest(406, 670), -1);
    EXPECT_EQ(strip.HitTest(506, 700), -1);
    EXPECT_EQ(strip.HitTest(407, 641), 1);
    EXPECT_EQ(strip.mRoot->GetChildren().back(), strip.mTabs[1]->mRoot);
    EXPECT_EQ(strip.mTabs[1]->mScale, HUDTab::kSelectedScale);
    // Already selected: answered again.
    EXPECT_EQ(strip.HitTest(506, 670), 1);
    strip.Select(7);
    EXPECT_EQ(strip.mTabs[1]->mSelected, 1);
}

TEST_F(TabStripTest, HoverGrowsOnlyUnselectedTabs)
{
    HUDTabStrip strip(layout.get(), names, {true, true, true});
    strip.OnMouseMove(796, 670);
    strip.Update(0.1f);
    EXPECT_EQ(strip.mTabs[2]->mHovered, 1);
    EXPECT_NEAR(strip.mTabs[2]->mScale, 1.05f, 1e-5f);
    EXPECT_TRUE(strip.mTabs[2]->mActive->mVisible);
    strip.OnMouseMove(216, 670);
    strip.Update(0.02f);
    EXPECT_EQ(strip.mTabs[0]->mHovered, 0);
    EXPECT_EQ(strip.mTabs[2]->mHovered, 0);
    EXPECT_NEAR(strip.mTabs[2]->mScale, 1.03f, 1e-5f);
    EXPECT_EQ(strip.mTabs[0]->mScale, HUDTab::kSelectedScale);
}

TEST_F(TabStripTest, WithoutNamesNothingAnswers)
{
    HUDTabStrip strip(layout.get(), {}, {});
    EXPECT_TRUE(strip.mTabs.empty());
    EXPECT_EQ(strip.HitTest(216, 670), -1);
    strip.Select(0);
    strip.Update(0.1f);
    Record([&](render::Graphics* g) { strip.Draw(g); });
}

TEST_F(TabStripTest, TheSliderFollowsThePointerWithinTheTrack)
{
    std::vector<FixtureLayer> layers = {{"scroll/bar", 870, 250, 30, 320, 0xFF808080u},
                                        {"scroll/slider_in", 870, 300, 40, 60, 0xFFFFFFFFu}};
    WriteLayout("ui/scroll", layers);
    std::unique_ptr<file::ImageContainer> scroll(file::FileManager::Instance()->OpenImageContainer(L"ui/scroll"));
    struct Case
    {
        int y;
        float position;
        float sliderY;
    };
    for (const Case& c : {Case{100, 0.0f, 262.0f}, Case{700, 1.0f, 496.0f}, Case{409, 0.5f, 379.0f}})
    {
        HUDScrollBar bar(scroll.get());
        EXPECT_EQ(bar.mSlider->mPosition.y, 262.0f);
        EXPECT_EQ(bar.mSlider->mPosition.x, 870.0f);
        // Hidden by its owner, the slider still takes the press.
        bar.mRoot->mVisible = false;
        bar.OnMouseDown(880, 270);
        EXPECT_EQ(bar.mGrab, HUDScrollBar::kHeld);
        bar.OnMouseMove(880, c.y);
        EXPECT_FLOAT_EQ(bar.mPosition, c.position) << c.y;
        EXPECT_FLOAT_EQ(bar.mSlider->mPosition.y, c.sliderY) << c.y;
        bar.OnMouseUp(880, c.y);
        bar.OnMouseMove(880, 292);
        EXPECT_FLOAT_EQ(bar.mPosition, c.position);
        bar.SyncSlider();
        EXPECT_FLOAT_EQ(bar.mSlider->mPosition.y, c.sliderY);
        bar.Reset();
        EXPECT_EQ(bar.mPosition, 0.0f);
        EXPECT_EQ(bar.mSlider->mPosition.y, 262.0f);
    }
    HUDScrollBar bar(scroll.get());
    // The slider's edge (x 870) does not grab.
    bar.OnMouseDown(870, 270);
    EXPECT_EQ(bar.mGrab, HUDScrollBar::kReleased);
}
} // namespace
} // namespace gametest
