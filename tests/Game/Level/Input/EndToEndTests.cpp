// Real mouse events, pushed to the offscreen window, reach the running level
// through the window stand-in and the root board: a tower is built, upgraded
// and sold, and a defeat stores the gems that were lying on the map.
#include "BattleData.h"
#include "Core/Render/Graphics.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "GameFixture.h"
#include "InputFixture.h"
#include "RecordingWindow.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
namespace towers = gametest::towers;
namespace units = gametest::units;

class EndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run = std::make_unique<gametest::GameRun>();
        gametest::WriteGameContent(*run->data);
        gametest::WriteBattleData(*run->data);
        run->data->Write("nq/strings_en.csv", gametest::InputStrings());
        run->data->Write(gametest::LevelFilePath(0, 0, false),
                         gametest::WithSpots(gametest::StraightLevelXml(gametest::WaveXml(
                                                 "timeout=\"100000\" spawn=\"1\"", gametest::EntryXml(units::kTank, 0.0f))),
                                             gametest::InputSpots()));
        run->WriteProfiles(gametest::ProfilesXml(1, 0, "<fs v=\"false\"/>"));
        ASSERT_EQ(run->Start(), HV_OK);
        map = run->Map();
        ASSERT_NE(map, nullptr);
        map->mEpisode = 0;
        map->mLevel = 0;
        map->mMode = 1;
        map->StartLevel();
        ASSERT_EQ(run->Frame(), HV_OK);
        delete map->mUnlockTable;
        map->mUnlockTable = new NQUnlockTable;
        map->mUnlockTable->Build("0;0;-1\n");
        map->mScreenState = screen::kPlaying;
        map->mSpeed = 0.0f;
        map->mEconomy->mGold = 1000;
    }

    void TearDown() override { run.reset(); }

    HWND Handle() const { return run->game->mWindow->GetHandle(); }

    // Logical point to window point: the window shows the 1024 x 768 play area.
    void ToWindow(float x, float y, int& wx, int& wy) const
    {
        int w = 0;
        int h = 0;
        SDL_GetWindowSize(Handle()->sdlWindow, &w, &h);
        wx = int(std::lround(x * float(w) / 1024.0f));
        wy = int(std::lround(y * float(h) / 768.0f));
    }

    void Click(bool down, float x, float y)
    {
        int wx = 0;
        int wy = 0;
        ToWindow(x, y, wx, wy);
        testwin::Push(testwin::Motion(Handle(), wx, wy));
        testwin::Push(testwin::Button(Handle(), down, SDL_BUTTON_LEFT, wx, wy));
        ASSERT_EQ(run->Pump(4), HV_OK);
    }

    void OpenFully()
    {
        ASSERT_NE(map->mContextMenu, nullptr);
        map->mContextMenu->Update(0.25f);
        // The layout is the drawing's: lay the items out once.
        render::Graphics graphics(run->game->mRender);
        map->DrawContextMenu(&graphics);
    }

    void ItemPoint(int key, float& x, float& y) const
    {
        const NQContextMenu* ring = map->mContextMenu;
        for (const NQContextMenuItem* item : ring->mItems)
            if (item->mKey == key)
            {
                const float a = item->mAngle * NQContextMenu::kPi / 180.0f;
                x = ring->mCenterX + std::sin(a) * NQContextMenu::kRadius * ring->GetScale();
                y = ring->mCenterY + std::cos(a) * NQContextMenu::kRadius * ring->GetScale();
                return;
            }
        ADD_FAILURE() << "no item " << key;
    }

    std::unique_ptr<gametest::GameRun> run;
    NQMap* map = nullptr;
};

TEST_F(EndToEndTest, TowerBuiltUpgradedAndSoldThroughMouseEvents)
{
    Click(false, 500, 384);
    ASSERT_NE(map->mContextMenu, nullptr);
    EXPECT_EQ(map->mContextMenu->mKind, NQContextMenu::kBuildRing);
    OpenFully();
    float x = 0;
    float y = 0;
    ItemPoint(towers::kCannon, x, y);
    Click(true, x, y);
    ASSERT_EQ(map->mTowers.size(), 1u);
    EXPECT_EQ(map->mEconomy->mGold, 900);
    Click(false, x, y);
    delete map->mContextMenu;
    map->mContextMenu = nullptr;

    NQTower* tower = map->mTowers[0];
    Click(false, tower->mX, tower->mY);
    ASSERT_NE(map->mContextMenu, nullptr);
    EXPECT_EQ(map->mContextMenu->mKind, NQContextMenu::kTierRing);
    OpenFully();
    ItemPoint(1, x, y);
    Click(true, x, y);
    EXPECT_EQ(tower->mTierCount, 1);
    EXPECT_EQ(map->mEconomy->mGold, 860);
    Click(false, x, y);
    delete map->mContextMenu;
    map->mContextMenu = nullptr;

    Click(false, tower->mX, tower->mY);
    OpenFully();
    ItemPoint(0, x, y);
    Click(true, x, y);
    EXPECT_TRUE(map->mTowers.empty());
    EXPECT_EQ(map->mEconomy->mGold, 910);
}

TEST_F(EndToEndTest, WheelReachesTheHudAndAnOverlayTakesThePointerButTheDrag)
{
    int wx = 0;
    int wy = 0;
    ToWindow(500, 384, wx, wy);
    testwin::Push(testwin::Motion(Handle(), wx, wy));
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = SDL_GetWindowID(Handle()->sdlWindow);
    wheel.wheel.y = -1;
    gametest::CallLog().clear();
    testwin::Push(wheel);
    ASSERT_EQ(run->Pump(4), HV_OK);
    EXPECT_EQ(gametest::CountCalls("HUD.OnMouseWheel -120"), 1);

    // The ring opens before the overlay comes.
    map->OnMouseUp(500, 384);
    OpenFully();
    float x = 0;
    float y = 0;
    ItemPoint(towers::kCannon, x, y);
    run->Board()->SetConfirmOverlay(new gametest::RecordingWindow("overlay"));
    gametest::CallLog().clear();
    Click(true, x, y);
    Click(false, x, y);
    EXPECT_TRUE(map->mTowers.empty());
    EXPECT_EQ(map->mContextMenu->mState, NQContextMenu::kOpen);
    EXPECT_EQ(gametest::CountCalls("HUD.OnMouseDown"), 0);
    EXPECT_EQ(gametest::CountCalls("HUD.OnMouseUp"), 0);
    EXPECT_GE(gametest::CountCalls("Window.overlay.OnMouseDown"), 1);

    // A drag still reaches the level: the ring's hover follows it.
    Click(true, 10, 10);
    int ix = 0;
    int iy = 0;
    ToWindow(x, y, ix, iy);
    SDL_Event drag = testwin::Motion(Handle(), ix, iy);
    drag.motion.state = SDL_BUTTON_LMASK;
    testwin::Push(drag);
    ASSERT_EQ(run->Pump(4), HV_OK);
    EXPECT_EQ(map->mContextMenu->mHoveredKey, towers::kCannon);
    Click(false, 10, 10);
    run->Board()->SetConfirmOverlay(nullptr);
}

TEST_F(EndToEndTest, ClozeStopsTheApplication)
{
    map->mScreenState = screen::kMainMenu;
    run->Hud()->targets = {{L"cloze", -1, {0, 0, 100, 100}}};
    map->OnMouseUp(50, 50);
    EXPECT_TRUE(run->game->mStopRequested);
}

TEST_F(EndToEndTest, DefeatStoresTheLyingGems)
{
    for (int i = 0; i < 2; ++i)
    {
        auto* drop = new NQTowerSpecial;
        drop->mState = NQTowerSpecial::kLying;
        map->mDrops->push_back(drop);
    }
    map->mEconomy->mGems = 3;
    // A defeat has no lives left, so the result window pays no stars.
    map->mLives = 0.0f;
    map->Lose();
    ASSERT_EQ(run->Frame(), HV_OK);
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_NE(run->ProfilesText().find("amount=\"5\""), std::string::npos) << run->ProfilesText();
}
} // namespace
