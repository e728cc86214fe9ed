#include "CallLog.h"
#include "FrontEndFixture.h"
#include "RecordingWindow.h"

#include "Core/Render/Graphics.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace gametest
{
namespace
{
constexpr float kDt = 0.1f;

class HudTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        WriteLayout("nq/ui", PanelLayers());
        RecordingWindow::sDestroyed = 0;
        Map()->mScreenState = screen::kPlaying;
        hud = std::make_unique<HUD>();
    }
    void TearDown() override
    {
        hud.reset();
        FrontEndTest::TearDown();
    }

    // A window on the stack (pushed and adopted).
    RecordingWindow* Open(const std::string& name)
    {
        auto* window = new RecordingWindow(name);
        hud->PushWindow(window);
        hud->Update(0.0f);
        return window;
    }

    std::unique_ptr<HUD> hud;
};

TEST_F(HudTest, PanelKeepsListingOrderFullTextKeysAndSpellSlots)
{
    // Root layers listed with the indices 99, 98: not re-sorted.
    ASSERT_EQ(hud->mImages.size(), 2u);
    EXPECT_EQ(hud->mImages[0]->mName, L"panel0");
    EXPECT_EQ(hud->mImages[1]->mName, L"panel1");
    ASSERT_EQ(hud->mButtons.size(), 8u);
    EXPECT_EQ(hud->mButtons[0]->mName, L"pause_btn");
    EXPECT_EQ(hud->mButtons[1]->mName, L"pause_btn_ac");
    ASSERT_EQ(hud->mSpellSlots.size(), 5u);
    for (size_t n = 0; n < 5; ++n)
    {
        EXPECT_EQ(hud->mSpellSlots[n]->mName, L"s" + std::to_wstring(n));
        EXPECT_EQ(hud->mSpellSlots[n]->mPicture, nullptr);
    }
    EXPECT_EQ(hud->mTextSlots.size(), 4u);
    EXPECT_TRUE(hud->mTextSlots.count(L"text/coins"));
    EXPECT_TRUE(hud->mTextSlots.count(L"text/waves"));
    EXPECT_NE(hud->mSpellCursor, nullptr);
    EXPECT_EQ(hud->mFont.Get(), Board()->GetFont(GameWindow::kFontNormal).Get());

    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { hud->Draw(g); });
    ASSERT_GE(quads.size(), 2u);
    EXPECT_EQ(quads[0].texture, TextureOf(hud->mImages[0]->mPicture));
    EXPECT_EQ(quads[1].texture, TextureOf(hud->mImages[1]->mPicture));
}

TEST_F(HudTest, WithoutItsLayoutTheHudIsEmptyAndStillWorks)
{
    std::filesystem::remove_all(data->Folder().Folder() / "nq" / "ui");
    HUD empty;
    EXPECT_TRUE(empty.mImages.empty());
    EXPECT_TRUE(empty.mButtons.empty());
    EXPECT_TRUE(empty.mSpellSlots.empty());
    EXPECT_EQ(empty.HitTest(820, 720), -1);
    EXPECT_EQ(empty.Click(820, 720), L"");
    empty.UpdateGoldText();
    EXPECT_TRUE(Record([&](render::Graphics* g) { empty.Draw(g); }).empty());
}

TEST_F(HudTest, APushedWindowJoinsAtTheEndOfUpdateAndIsUpdatedFromTheNextFrame)
{
    auto* a = new RecordingWindow("a");
    hud->PushWindow(a);
    EXPECT_EQ(hud->mBackdropState, HUD::kBackdropFadingIn);
    EXPECT_FALSE(hud->HasWindows());
    hud->Update(kDt);
    EXPECT_EQ(hud->GetTopWindow(), a);
    EXPECT_EQ(a->Count("Update"), 0);
    hud->Update(kDt);
    EXPECT_EQ(a->Count("Update"), 1);

    // A push onto an open stack leaves the backdrop alone.
    hud->SetBackdropState(HUD::kBackdropOff);
    hud->PushWindow(new RecordingWindow("b"));
    EXPECT_EQ(hud->mBackdropState, HUD::kBackdropOff);
}

TEST_F(HudTest, AClosingWindowGetsOneOnCloseAndItsSuccessorJoinsInTheSameUpdate)
{
    RecordingWindow* below = Open("below");
    RecordingWindow* a = Open("a");
    auto* b = new RecordingWindow("b");
    a->onClose = [&] { hud->PushWindow(b); };
    a->SetAlive(false);
    hud->Update(kDt);
    EXPECT_EQ(CountCalls("Window.a.OnClose"), 1);
    EXPECT_EQ(CountCalls("Window.a.~Window"), 1);
    ASSERT_EQ(hud->mWindows.size(), 2u);
    EXPECT_EQ(hud->mWindows[0], below);
    EXPECT_EQ(hud->mWindows[1], b);
    EXPECT_EQ(b->Count("Update"), 0);
    hud->Update(kDt);
    EXPECT_EQ(CountCalls("Window.a.OnClose"), 1);
}

TEST_F(HudTest, CloseTopWindowRightAfterAPushDeletesTheWindowBelow)
{
    RecordingWindow* a = Open("a");
    (void)a;
    auto* b = new RecordingWindow("b");
    hud->PushWindow(b);
    hud->CloseTopWindow();
    EXPECT_EQ(CountCalls("Window.a.~Window"), 1);
    EXPECT_FALSE(hud->HasWindows());
    hud->Update(kDt);
    EXPECT_EQ(hud->GetTopWindow(), b);

    // Empty stack: nothing happens.
    hud->CloseTopWindow();
    hud->CloseTopWindow();
    EXPECT_FALSE(hud->HasWindows());
    EXPECT_EQ(RecordingWindow::sDestroyed, 2);
    EXPECT_EQ(CountCalls("Window.b.OnClose"), 0);
}

TEST_F(HudTest, DestroyingTheHudDeletesOpenAndPendingWindowsWithoutOnClose)
{
    Open("a");
    Open("b");
    hud->PushWindow(new RecordingWindow("pending"));
    hud.reset();
    EXPECT_EQ(RecordingWindow::sDestroyed, 3);
    EXPECT_EQ(CountCalls("Window.a.OnClose") + CountCalls("Window.b.OnClose") +
                  CountCalls("Window.pending.OnClose"),
              0);
}

TEST_F(HudTest, PressAndReleaseReachOnlyTheTopWindowOthersReachEveryWindowBottomUp)
{
    RecordingWindow* a = Open("a");
    RecordingWindow* b = Open("b");
    hud->OnMouseDown(5, 6);
    hud->OnMouseUp(5, 6);
    EXPECT_EQ(a->Count("OnMouseDown") + a->Count("OnMouseUp"), 0);
    EXPECT_EQ(b->Count("OnMouseDown"), 1);
    EXPECT_EQ(b->Count("OnMouseUp"), 1);

    CallLog().clear();
    hud->OnMouseWheel(120);
    hud->OnChar(0x416);
    hud->OnKeyDown(13);
    const std::vector<LoggedCall> calls = CallsStarting("Window.");
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].call, "Window.a.OnMouseWheel 120");
    EXPECT_EQ(calls[1].call, "Window.b.OnMouseWheel 120");
    EXPECT_EQ(calls[2].call, "Window.a.OnChar 1046");
    EXPECT_EQ(calls[3].call, "Window.b.OnChar 1046");
    EXPECT_EQ(calls[4].call, "Window.a.OnKeyDown 13");
    EXPECT_EQ(calls[5].call, "Window.b.OnKeyDown 13");

    // With no window, none of these reaches anything.
    hud->CloseTopWindow();
    hud->CloseTopWindow();
    hud->OnMouseDown(1, 1);
    hud->RefreshTopWindow();
}

TEST_F(HudTest, AMoveReachesOwnFramesTheTopWindowAndEverySpellButton)
{
    AddSpell(0, 3001, 5.0f);
    AddSpell(1, 3002, 5.0f);
    hud->AddSpellButton(0);
    hud->AddSpellButton(1);
    RecordingWindow* a = Open("a");
    RecordingWindow* b = Open("b");

    hud->OnMouseMove(820, 720); // on pause_btn and its twin
    EXPECT_EQ(hud->mButtons[0]->mHovered, 1);
    EXPECT_EQ(hud->mButtons[1]->mHovered, 1);
    EXPECT_EQ(a->Count("OnMouseMove"), 0);
    EXPECT_EQ(b->Count("OnMouseMove"), 1);
    EXPECT_EQ(hud->mPointerX, 820.0f);

    hud->OnMouseMove(int(SpellSlotX(1)), int(kSpellSlotY));
    EXPECT_EQ(hud->mButtons[0]->mHovered, 0);
    EXPECT_EQ(hud->mSpellButtons[0]->mHovered, 0);
    EXPECT_EQ(hud->mSpellButtons[1]->mHovered, 1);

    hud->OnMouseMove(-1, -1);
    for (const NQButtonFrame* button : hud->mButtons)
        EXPECT_EQ(button->mHovered, 0);
    for (const HUDSpellButton* button : hud->mSpellButtons)
        EXPECT_EQ(button->mHovered, 0);
}

TEST_F(HudTest, HitTestAndClickPrecedence)
{
    AddSpell(0, 3001, 5.0f);
    AddSpell(1, 3002, 5.0f);
    hud->AddSpellButton(0);
    hud->AddSpellButton(1);
    hud->mSpellButtons[0]->StartCooldown();
    const int coolingX = int(SpellSlotX(0));
    const int readyX = int(SpellSlotX(1));
    const int y = int(kSpellSlotY);

    struct Case
    {
        const char* what;
        int x, y;
        int hit;
        std::wstring name;
        int sounds;
    };
    const Case noWindow[] = {
        {"own frame", 820, 720, 0, L"pause_btn", 1},
        {"cooling spell", coolingX, y, HUD::kSpellNotReady, L"", 0},
        {"ready spell", readyX, y, 1, L"s1", 0},
        {"nothing", 500, 300, -1, L"", 0},
    };
    for (const Case& c : noWindow)
    {
        ClearSounds();
        EXPECT_EQ(hud->HitTest(c.x, c.y), c.hit) << c.what;
        EXPECT_EQ(hud->Click(c.x, c.y), c.name) << c.what;
        EXPECT_EQ(Heard(L"simple"), c.sounds) << c.what;
    }

    // A window open over the ready spell: only the windows answer.
    RecordingWindow* lower = Open("lower");
    RecordingWindow* top = Open("top");
    ClearSounds();
    EXPECT_EQ(hud->HitTest(readyX, y), -1);
    EXPECT_EQ(hud->Click(readyX, y), L"");
    lower->hitAnswer = 4;
    lower->clickAnswer = L"lower";
    EXPECT_EQ(hud->HitTest(readyX, y), 4);
    EXPECT_EQ(hud->Click(readyX, y), L""); // the top window only
    top->hitAnswer = 2;
    top->clickAnswer = L"top";
    EXPECT_EQ(hud->HitTest(readyX, y), 2);
    EXPECT_EQ(hud->Click(readyX, y), L"top");
    EXPECT_EQ(Heard(L"simple"), 0);
}

TEST_F(HudTest, CountersTable)
{
    NQMap* map = Map();
    struct Lives
    {
        float lives, max;
        std::wstring text;
    };
    for (const Lives& c : {Lives{25.0f, 25.0f, L"25/25"}, Lives{12.5f, 25.0f, L"12.5/25"}, Lives{1.0f, 1.0f, L"1/1"}})
    {
        map->mLives = c.lives;
        map->mMaxLives = c.max;
        hud->UpdateLivesText();
        EXPECT_EQ(hud->mTexts.back().second, c.text);
    }

    for (int i = 0; i < 10; ++i)
        map->mWaveManager->mWaves.push_back(new NQWaveProto);
    // A linked wave does not count.
    map->mWaveManager->mWaves.push_back(new NQWaveProto);
    map->mWaveManager->mWaves.back()->mLinked = 0;
    struct Waves
    {
        int index;
        std::wstring text;
    };
    for (const Waves& c : {Waves{2, L"Wave 3/10"}, Waves{0, L"Wave 1/10"}, Waves{9, L"Wave 10/10"},
                           Waves{12, L"Wave 10/10"}})
    {
        map->mWaveManager->mNextWave = c.index;
        hud->UpdateWavesText();
        EXPECT_EQ(hud->mTexts.back().first, L"text/waves");
        EXPECT_EQ(hud->mTexts.back().second, c.text) << c.index;
    }

    map->mEconomy->mGems = 42;
    map->mEconomy->mShownGold = 1234;
    hud->UpdateGemsText();
    hud->UpdateGoldText();
    ASSERT_EQ(hud->mTexts.size(), 4u);
    EXPECT_EQ(hud->mTexts[2].first, L"text/crystals");
    EXPECT_EQ(hud->mTexts[2].second, L"42");
    EXPECT_EQ(hud->mTexts[3].first, L"text/coins");
    EXPECT_EQ(hud->mTexts[3].second, L"1234");
    // Replaced in place.
    map->mEconomy->mShownGold = 7;
    hud->UpdateGoldText();
    EXPECT_EQ(hud->mTexts.size(), 4u);
    EXPECT_EQ(hud->mTexts[3].second, L"7");
}

TEST_F(HudTest, LivesNeverShowBelowZero)
{
    // The last leak takes the lives below 0 before the defeat sets them to 0.
    NQMap* map = Map();
    map->mMaxLives = 25.0f;
    for (const float lives : {-1.0f, -0.5f, -25.0f})
    {
        map->mLives = lives;
        hud->UpdateLivesText();
        EXPECT_EQ(hud->mTexts.back().second, L"0/25") << lives;
    }
}

TEST_F(HudTest, AddSpellButtonSkipsLockedAndMissingRowsAndTakesFramesInCallOrder)
{
    AddSpell(0, 3001, 5.0f);
    AddSpell(1, 3002, 5.0f, 70, 70, false);
    AddSpell(2, 3003, 5.0f);
    AddSpell(3, 3004, 5.0f);
    hud->AddSpellButton(1); // locked
    hud->AddSpellButton(7); // no row
    hud->AddSpellButton(3);
    hud->AddSpellButton(0);
    hud->AddSpellButton(2);
    ASSERT_EQ(hud->mSpellButtons.size(), 3u);
    const int slots[] = {3, 0, 2};
    for (int n = 0; n < 3; ++n)
    {
        const HUDSpellButton* button = hud->mSpellButtons[size_t(n)];
        EXPECT_EQ(button->mSpellSlot, slots[n]);
        EXPECT_EQ(button->mIndex, n);
        EXPECT_EQ(button->mName, L"s" + std::to_wstring(n));
        EXPECT_EQ(button->mCenterX, SpellSlotX(n));
        EXPECT_EQ(button->mCenterY, kSpellSlotY);
    }
}

TEST_F(HudTest, MoreUnlockedSpellsThanSlotFramesAddNothing)
{
    std::vector<FixtureLayer> layers = PanelLayers();
    std::erase_if(layers, [](const FixtureLayer& l) { return l.name >= "spell/s2" && l.name <= "spell/s4"; });
    WriteLayout("nq/ui2", layers);
    data->Write("nq/ui/layers.xml", data->Read("nq/ui2/layers.xml"));
    HUD two;
    ASSERT_EQ(two.mSpellSlots.size(), 2u);
    for (int slot = 0; slot < 3; ++slot)
    {
        AddSpell(slot, 3001 + slot, 5.0f);
        two.AddSpellButton(slot);
    }
    EXPECT_EQ(two.mSpellButtons.size(), 2u);
}

TEST_F(HudTest, ResetSpellCooldownsReadiesEveryButtonWithoutFlash)
{
    AddSpell(0, 3001, 5.0f);
    hud->AddSpellButton(0);
    hud->mSpellButtons[0]->StartCooldown();
    EXPECT_TRUE(hud->mSpellButtons[0]->IsCooling());
    hud->ResetSpellCooldowns();
    EXPECT_FALSE(hud->mSpellButtons[0]->IsCooling());
    EXPECT_EQ(hud->mSpellButtons[0]->mTimer, 0.0f);
    hud->Update(kDt);
    EXPECT_EQ(hud->mSpellButtons[0]->mFlash, nullptr);
}

TEST_F(HudTest, DrawShowsThePanelAndSidePicturesByScreenState)
{
    data->Write("l.png", SolidPng(10, 20, 0xFFFF0000u));
    GetGame()->mLeftSide = LoadGamePicture(L"l", nullptr);
    ASSERT_NE(GetGame()->mLeftSide, nullptr);
    const render::Texture* side = TextureOf(GetGame()->mLeftSide);
    const render::Texture* panel = TextureOf(hud->mImages[0]->mPicture);

    struct Case
    {
        NQScreenState state;
        bool panel;
        bool sides;
    };
    // The panel goes with the battlefield: screens drawn without it show none.
    const Case cases[] = {
        {screen::kPlaying, true, false},      {screen::kEpisodeSelect, false, true},
        {screen::kLevelSelect, false, true},  {screen::kMainMenu, false, false},
        {screen::kShop, false, true},         {screen::kSplashScreens, false, false},
        {screen::kProfiles, false, true},     {screen::kModalMessage, false, true},
        {screen::kGemShop, false, true},      {screen::kResetUpgrades, false, true},
        {screen::kIntroVideo, false, false},  {screen::kIngameMenu, true, false},
        {screen::kWon, true, false},          {screen::kLost, true, false},
        {screen::kUnlockMessage, true, false}, {screen::kNewProfileName, false, true},
        {screen::kRestarting, false, false},
    };
    for (const Case& c : cases)
    {
        Map()->mScreenState = c.state;
        const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { hud->Draw(g); });
        bool sawPanel = false;
        bool sawSide = false;
        for (const RecordedQuad& q : quads)
        {
            sawPanel = sawPanel || q.texture == panel;
            sawSide = sawSide || q.texture == side;
        }
        EXPECT_EQ(sawPanel, c.panel) << c.state;
        EXPECT_EQ(sawSide, c.sides) << c.state;
    }
}

TEST_F(HudTest, TheSpellCursorIsDrawnFirstWhileASpellIsArmed)
{
    // The sets are preloaded before the HUD is made, as the level does.
    hud.reset();
    NQResources::Instance()->DeleteSpriteSets();
    WriteLayout("nq/data/ui_parts", {{"spell_cast/c0", 0, 0, 20, 20, 0xFFFF00FFu}});
    NQResources::Instance()->PreloadSpriteSets(L"nq/data/ui_parts");
    hud = std::make_unique<HUD>();
    AddSpell(0, 3001, 5.0f);
    hud->AddSpellButton(0);
    const NQFrameEntry* cursor = NQResources::Instance()->FindFrame(L"nq/spell_cast", L"", L"spell_cast/c0");
    ASSERT_NE(cursor, nullptr);

    std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { hud->Draw(g); });
    ASSERT_FALSE(quads.empty());
    EXPECT_NE(quads[0].texture, TextureOf(cursor->mPicture));
    // Spell buttons come before the panel.
    EXPECT_NE(quads[0].texture, TextureOf(hud->mImages[0]->mPicture));

    Map()->mArmedSpell = hud->mSpellButtons[0];
    quads = Record([&](render::Graphics* g) { hud->Draw(g); });
    ASSERT_GE(quads.size(), 3u);
    EXPECT_EQ(quads[0].texture, TextureOf(cursor->mPicture));
    EXPECT_EQ(quads[2].texture, TextureOf(hud->mImages[0]->mPicture));
    Map()->mArmedSpell = nullptr;
}

TEST_F(HudTest, DrawWindowsDrawsOneLayerBottomUp)
{
    RecordingWindow* a = Open("a");
    RecordingWindow* modal = Open("modal");
    RecordingWindow* b = Open("b");
    modal->mLayer = HUDWindow::kModalLayer;
    CallLog().clear();
    Record([&](render::Graphics* g) { hud->DrawWindows(g, HUDWindow::kScreenLayer); });
    std::vector<LoggedCall> calls = CallsStarting("Window.");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].call, "Window.a.Draw");
    EXPECT_EQ(calls[1].call, "Window.b.Draw");
    CallLog().clear();
    Record([&](render::Graphics* g) { hud->DrawWindows(g, HUDWindow::kModalLayer); });
    calls = CallsStarting("Window.");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].call, "Window.modal.Draw");
    (void)a;
    (void)b;
}
} // namespace
} // namespace gametest
