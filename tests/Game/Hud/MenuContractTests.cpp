// The four menu screens against the release dispatcher: every button and
// area pressed as a player would, and the screen state and top window after
// each; a sweep over the screen shows that nothing else is answered.
#include "MenuScreensFixture.h"

#include "Game/Data/NQProgress.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDModalMessage.h"
#include "Game/Hud/HUDPager.h"
#include "Game/Hud/HUDProfiles.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <typeinfo>

namespace gametest
{
namespace
{
constexpr int kGrid = 8;

class MenuContractTest : public MenuScreensTest
{
protected:
    void CloseAll()
    {
        while (Hud()->HasWindows())
            Hud()->CloseTopWindow();
        Board()->SetConfirmOverlay(nullptr);
    }
    void Open(void (HUD::*show)())
    {
        CloseAll();
        (Hud()->*show)();
        Step();
    }
    template <class W>
    void ExpectTop(NQScreenState state, const char* what)
    {
        EXPECT_EQ(Map()->mScreenState, state) << what;
        HUDWindow* top = Top();
        EXPECT_NE(TopAs<W>(), nullptr) << what << ": top is " << (top ? typeid(*top).name() : "nothing");
    }
    // Every name Click answers and every index HitTest answers over the screen.
    void Sweep(std::set<std::wstring>& names, std::set<int>& hits)
    {
        for (int y = 0; y < 768; y += kGrid)
        {
            for (int x = 0; x < 1024; x += kGrid)
            {
                names.insert(Top()->Click(x, y));
                hits.insert(Top()->HitTest(x, y));
            }
        }
    }
};

TEST_F(MenuContractTest, MainMenu)
{
    SetProfiles({"Anna"}, "Anna");
    Open(&HUD::ShowMainMenu);
    std::set<std::wstring> names;
    std::set<int> hits;
    Sweep(names, hits);
    EXPECT_EQ(names, (std::set<std::wstring>{L"", L"play", L"options", L"shop", L"cloze", L"profile"}));
    EXPECT_EQ(hits, std::set<int>{-1});

    Tap(kPlayX, kPlayY);
    ExpectTop<HUDEpisodeSelectIOS>(screen::kEpisodeSelect, "play");

    Open(&HUD::ShowMainMenu);
    Tap(kOptionsX, kOptionsY);
    ExpectTop<HUDMainMenu>(screen::kMainMenu, "options");
    frames.Update(0.0f);
    ASSERT_FALSE(frames.GetStack().empty());
    EXPECT_NE(dynamic_cast<OptionsDialog*>(frames.GetStack().back().mFrame), nullptr);

    Open(&HUD::ShowMainMenu);
    Tap(kShopX, kShopY);
    EXPECT_EQ(Map()->mScreenState, screen::kShop);
    EXPECT_EQ(NQMap::sShopReturnTarget, L"mmenu");
    EXPECT_EQ(TopAs<HUDMainMenu>(), nullptr);

    Open(&HUD::ShowMainMenu);
    Tap(500, 740);
    ExpectTop<HUDProfiles>(screen::kProfiles, "profile");

    Open(&HUD::ShowMainMenu);
    Tap(100, 100);
    ExpectTop<HUDMainMenu>(screen::kMainMenu, "nothing");

    // Without a name, play and shop ask for one first.
    SetProfiles({}, "");
    for (auto [x, y, menu] : {std::tuple{kPlayX, kPlayY, L"mmenu"}, std::tuple{kShopX, kShopY, L"shop"}})
    {
        Open(&HUD::ShowMainMenu);
        Tap(x, y);
        ExpectTop<HUDModalInput>(screen::kNewProfileName, "no name");
        EXPECT_EQ(Map()->mCurrentMenu, menu);
    }
}

TEST_F(MenuContractTest, Profiles)
{
    SetProfiles({"Anna", "Ben"}, "Anna");
    Open(&HUD::ShowProfiles);
    std::set<std::wstring> names;
    std::set<int> hits;
    Sweep(names, hits);
    Board()->SetConfirmOverlay(nullptr);
    EXPECT_EQ(names, (std::set<std::wstring>{L"", L"create", L"rename", L"delete", L"confirm", L"back", L"p1"}));
    EXPECT_EQ(hits, std::set<int>{-1});

    Tap(825, 185);
    ExpectTop<HUDModalInput>(screen::kNewProfileName, "create");
    Open(&HUD::ShowProfiles);
    Tap(825, 245);
    ExpectTop<HUDModalInput>(screen::kRenameProfileName, "rename");
    Open(&HUD::ShowProfiles);
    Tap(825, 305);
    ExpectTop<HUDProfiles>(screen::kProfiles, "delete");
    EXPECT_NE(Board()->GetOverlay(GameWindow::kConfirmSlot), nullptr);
    Open(&HUD::ShowProfiles);
    Tap(825, 665);
    ExpectTop<HUDMainMenu>(screen::kMainMenu, "confirm");
    Open(&HUD::ShowProfiles);
    Tap(125, 665);
    ExpectTop<HUDMainMenu>(screen::kMainMenu, "back");
    // The row button of the current profile answers its name, which selects nothing more.
    Open(&HUD::ShowProfiles);
    Tap(500, 185);
    ExpectTop<HUDProfiles>(screen::kProfiles, "p1");

    SetProfiles({"A", "B", "C", "D", "E"}, "A");
    Open(&HUD::ShowProfiles);
    Tap(825, 185);
    ExpectTop<HUDModalMessage>(screen::kModalMessage, "create at five");
    EXPECT_EQ(Map()->mPendingDialog, screen::kProfiles);
}

TEST_F(MenuContractTest, EpisodeSelect)
{
    Open(&HUD::ShowEpisodeSelect);
    // Its first update hides the arrow toward no page.
    Step();
    std::set<std::wstring> names;
    std::set<int> hits;
    Sweep(names, hits);
    // The sweep's arrow turned the page: back to rest on the first.
    TopAs<HUDEpisodeSelectIOS>()->mPager->mCurrentPage = 0;
    TopAs<HUDEpisodeSelectIOS>()->mPager->mState = HUDPager::kIdle;
    TopAs<HUDEpisodeSelectIOS>()->mPager->mOffset = 0.0f;
    EXPECT_EQ(names, (std::set<std::wstring>{L"", L"play", L"arrow_right", L"back", L"shop"}));
    EXPECT_EQ(hits, (std::set<int>{-1, 0}));

    Tap(500, 400);
    ExpectTop<HUDLevelSelect>(screen::kLevelSelect, "plate");
    EXPECT_EQ(Map()->mEpisode, 0);
    Open(&HUD::ShowEpisodeSelect);
    Tap(500, 630);
    ExpectTop<HUDLevelSelect>(screen::kLevelSelect, "play");
    Open(&HUD::ShowEpisodeSelect);
    Tap(70, 720);
    ExpectTop<HUDMainMenu>(screen::kMainMenu, "back");
    Open(&HUD::ShowEpisodeSelect);
    Tap(950, 720);
    EXPECT_EQ(Map()->mScreenState, screen::kShop);
    EXPECT_EQ(NQMap::sShopReturnTarget, L"episodes");

    // The arrow turns to the closed episode, whose plate opens nothing.
    Open(&HUD::ShowEpisodeSelect);
    Tap(930, 380);
    ExpectTop<HUDEpisodeSelectIOS>(screen::kEpisodeSelect, "arrow_right");
    EXPECT_EQ(TopAs<HUDEpisodeSelectIOS>()->mPager->mCurrentPage, 1);
    Step(1.0f);
    Tap(500, 400);
    ExpectTop<HUDEpisodeSelectIOS>(screen::kEpisodeSelect, "closed plate");
    Tap(90, 380);
    EXPECT_EQ(TopAs<HUDEpisodeSelectIOS>()->mPager->mCurrentPage, 0);
}

TEST_F(MenuContractTest, LevelSelect)
{
    Map()->mEpisode = 0;
    Map()->mMode = 1;
    Open(&HUD::ShowLevelSelect);
    std::set<std::wstring> names;
    std::set<int> hits;
    Sweep(names, hits);
    EXPECT_EQ(names, (std::set<std::wstring>{L"", L"back", L"upgrade", L"locked_d"}));
    EXPECT_EQ(hits, (std::set<int>{-1, 0, 1, 2, 3, 4, 5, 6}));

    tutorial->events.clear();
    Tap(130, 270);
    EXPECT_EQ(Map()->mLevel, 0);
    EXPECT_EQ(TopAs<HUDLevelSelect>(), nullptr);
    EXPECT_EQ(std::count(tutorial->events.begin(), tutorial->events.end(), L"level_1_1_start"), 1);

    Map()->mScreenState = screen::kLevelSelect;
    Open(&HUD::ShowLevelSelect);
    Tap(130 + 125 * 3, 270);
    ExpectTop<HUDLevelSelect>(screen::kLevelSelect, "locked plate");
    Tap(70, 720);
    ExpectTop<HUDEpisodeSelectIOS>(screen::kEpisodeSelect, "back");
    Open(&HUD::ShowLevelSelect);
    Tap(950, 720);
    EXPECT_EQ(Map()->mScreenState, screen::kShop);
    EXPECT_EQ(NQMap::sShopReturnTarget, L"levels");
    Open(&HUD::ShowLevelSelect);
    Tap(900, 480);
    ExpectTop<HUDModalMessage>(screen::kModalMessage, "locked_d");
    EXPECT_EQ(Map()->mPendingDialog, screen::kLevelSelect);
    EXPECT_EQ(Map()->mProgress->GetEpisodeVisited(0, 3), 2);

    for (int level = 0; level < 7; ++level)
        SetStars(0, level, 1, 9);
    Map()->mScreenState = screen::kLevelSelect;
    Open(&HUD::ShowLevelSelect);
    Tap(900, 480);
    ExpectTop<HUDLevelSelect>(screen::kLevelSelect, "unlocked_d");
    EXPECT_EQ(Map()->mMode, 3);
    // Hardcore: "back" returns to the profile's own mode on the level select.
    CloseAll();
    Map()->mScreenState = screen::kLevelSelect;
    Hud()->ShowLevelSelect();
    Step();
    Step();
    while (!TopAs<HUDLevelSelect>())
        Hud()->CloseTopWindow();
    Map()->mScreenState = screen::kLevelSelect;
    names.clear();
    hits.clear();
    Sweep(names, hits);
    EXPECT_EQ(names, (std::set<std::wstring>{L"", L"back"}));
    EXPECT_EQ(hits, (std::set<int>{-1, 0, 1}));
    Tap(70, 720);
    ExpectTop<HUDLevelSelect>(screen::kLevelSelect, "hardcore back");
    EXPECT_EQ(Map()->mMode, Map()->mProgress->GetMode());
}
} // namespace
} // namespace gametest
