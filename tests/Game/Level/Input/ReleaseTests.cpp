// The release dispatcher: every row of every screen state, the steps of a
// release during play, and the gems-for-gold question.
#include "InputFixture.h"

#include "CallLog.h"
#include "Framework/GameApplication.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Level/LevelFileCheck.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQSpell.h"
#include "Game/Units/NQTowerSpecial.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace
{
using gametest::CountCalls;
using gametest::InputTest;
using gametest::LoggedCall;
namespace towers = gametest::towers;

constexpr int kSkip = -100;

class ReleaseTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        application->mFrameManager = &frames;
    }

    void TearDown() override
    {
        frames.CloseAll(true, true);
        application->mFrameManager = nullptr;
        InputTest::TearDown();
    }

    // The store's profiles: a placeholder, then `count` players; the last is current.
    void SetProfiles(int count)
    {
        const std::string current = count > 0 ? "P" + std::to_string(count) : "Default";
        std::string xml = "<Profiles currentProfile=\"" + current + "\"><Profile name=\"Default\"/>";
        for (int i = 1; i <= count; ++i)
            xml += "<Profile name=\"P" + std::to_string(i) + "\"><mode v=\"1\"/></Profile>";
        LoadProfiles(xml + "</Profiles>");
        // The progress record binds the reloaded store's element again.
        map->mProgress->SelectProfile(std::wstring(current.begin(), current.end()));
        map->mProgress->ReloadProfileNames();
    }

    // A release at (50, 50) on a HUD whose button there has that name and hit answer.
    void Release(const std::wstring& name, int hit)
    {
        Hud()->targets = {{name, hit, {0, 0, 100, 100}}};
        gametest::CallLog().clear();
        map->OnMouseUp(50, 50);
    }

    // The calls that act: the HUD's and the tutorial's, without the questions
    // and the pointer traffic.
    static std::vector<std::string> Actions()
    {
        std::vector<std::string> out;
        for (const LoggedCall& call : gametest::CallLog())
        {
            const std::string& c = call.call;
            if (c.rfind("HUD.Click", 0) == 0 || c.rfind("HUD.HitTest", 0) == 0 || c.rfind("HUD.OnMouse", 0) == 0 ||
                c.rfind("Tutorial.OnMouse", 0) == 0 || c.rfind("HUD.Update", 0) == 0)
                continue;
            if (c.rfind("HUD.", 0) == 0 || c.rfind("Tutorial.", 0) == 0)
                out.push_back(c);
        }
        return out;
    }

    static bool HudStep()
    {
        const auto& log = gametest::CallLog();
        for (size_t i = 0; i + 1 < log.size(); ++i)
            if (log[i].call == "HUD.OnMouseUp 50,50" && log[i + 1].call == "HUD.OnMouseMove -1,-1")
                return true;
        return false;
    }

    // Whether `wanted` appears in `calls` in order.
    static bool Contains(const std::vector<std::string>& calls, const std::vector<std::string>& wanted)
    {
        size_t at = 0;
        for (const std::string& call : calls)
            if (at < wanted.size() && call == wanted[at])
                ++at;
        return at == wanted.size();
    }

    widget::Frame* PushedDialog()
    {
        frames.Update(0.0f);
        const auto& stack = frames.GetStack();
        return stack.empty() ? nullptr : stack.back().mFrame;
    }

    widget::FrameManager frames;
};

struct Row
{
    NQScreenState state;
    const wchar_t* name;
    int hit;
    std::vector<std::string> calls;
    bool hud;
    NQScreenState after;
    std::function<void()> before = nullptr;
    std::function<void()> check = nullptr;
};

class DispatcherTest : public ReleaseTest
{
protected:
    void Run(const std::vector<Row>& rows)
    {
        for (const Row& row : rows)
        {
            SCOPED_TRACE(std::to_string(row.state) + " \"" + gametest::Narrow(row.name) + "\"");
            SetProfiles(2);
            map->mScreenState = row.state;
            map->mMode = 1;
            map->mSpeed = 0.0f;
            map->mPendingResult = -1;
            map->mCurrentMenu.clear();
            Hud()->mBackdropState = HUD::kBackdropShown;
            NQMap::sShopReturnTarget.clear();
            NQMap::sGemShopReturnTarget.clear();
            if (row.before)
                row.before();
            Release(row.name, row.hit);
            const auto actions = Actions();
            EXPECT_TRUE(Contains(actions, row.calls)) << ::testing::PrintToString(actions);
            if (row.calls.empty())
            {
                EXPECT_TRUE(actions.empty()) << ::testing::PrintToString(actions);
            }
            EXPECT_EQ(HudStep(), row.hud);
            if (row.after != kSkip)
            {
                EXPECT_EQ(map->mScreenState, row.after);
            }
            if (row.check)
                row.check();
            frames.CloseAll(true, true);
            frames.Update(0.0f);
        }
    }

    // The dialog the release pushed, of that type; null when none.
    template <class T>
    T* Pushed()
    {
        return dynamic_cast<T*>(PushedDialog());
    }
};
} // namespace

namespace
{
TEST_F(DispatcherTest, LevelResultAndInGameMenuRows)
{
    const auto backdropOff = [this] { EXPECT_EQ(Hud()->mBackdropState, HUD::kBackdropOff); };
    const auto confirms = [this](const wchar_t* action) {
        return [this, action] {
            auto* box = Pushed<TMessageBox>();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->mMessageKey, L"progress_confirm_text");
            EXPECT_EQ(box->mAction, action);
        };
    };
    Run({
        {screen::kWon, L"done", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 1"}, true, screen::kShop, nullptr,
         [] { EXPECT_EQ(NQMap::sShopReturnTarget, L"game"); }},
        {screen::kLost, L"close", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 1"}, true, screen::kShop},
        {screen::kLost, L"restart", -1, {"Tutorial.ResetUnfinishedSteps"}, true, kSkip, nullptr, backdropOff},
        {screen::kLost, L"menu", -1, {"HUD.CloseTopWindow", "HUD.ShowLevelSelect"}, true, screen::kLevelSelect},
        {screen::kLost, L"other", -1, {}, true, screen::kLost},
        {screen::kIngameMenu, L"resume", -1, {"Tutorial.Show", "HUD.CloseTopWindow"}, false, screen::kPlaying,
         nullptr, [this, backdropOff] {
             backdropOff();
             EXPECT_EQ(map->mSpeed, 0.0f);
         }},
        {screen::kIngameMenu, L"close", -1, {"Tutorial.Show", "HUD.CloseTopWindow"}, false, screen::kPlaying},
        {screen::kIngameMenu, L"restart", -1, {}, false, screen::kIngameMenu, nullptr, confirms(L"restart")},
        {screen::kIngameMenu, L"mmenu", -1, {}, false, screen::kIngameMenu, nullptr, confirms(L"mmenu")},
        {screen::kIngameMenu, L"levels", -1, {}, true, screen::kIngameMenu, nullptr, confirms(L"levels")},
        {screen::kIngameMenu, L"options", -1, {}, false, screen::kIngameMenu, nullptr,
         [this] { EXPECT_NE(Pushed<OptionsDialog>(), nullptr); }},
        {screen::kIngameMenu, L"other", -1, {}, true, screen::kIngameMenu},
    });
}

TEST_F(DispatcherTest, EpisodeAndLevelSelectRows)
{
    Run({
        {screen::kEpisodeSelect, L"back", -1, {"HUD.CloseTopWindow", "HUD.ShowMainMenu"}, false, screen::kMainMenu},
        {screen::kEpisodeSelect, L"shop", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 0"}, false, screen::kShop, nullptr,
         [] { EXPECT_EQ(NQMap::sShopReturnTarget, L"episodes"); }},
        // Episode 0 is open, episode 1 needs 20 stars.
        {screen::kEpisodeSelect, L"", 0, {"HUD.CloseTopWindow", "HUD.ShowLevelSelect"}, true, screen::kLevelSelect,
         [this] { map->mEpisode = 1; }, [this] { EXPECT_EQ(map->mEpisode, 0); }},
        {screen::kEpisodeSelect, L"", 1, {}, true, screen::kEpisodeSelect},
        {screen::kEpisodeSelect, L"", -1, {}, true, screen::kEpisodeSelect},
        {screen::kEpisodeSelect, L"", -2, {}, true, screen::kEpisodeSelect},
        {screen::kLevelSelect, L"", 0, {"HUD.CloseTopWindow"}, false, kSkip, [this] { map->mLevel = 3; },
         [this] { EXPECT_EQ(map->mLevel, 0); }},
        {screen::kLevelSelect, L"", 7, {}, true, screen::kLevelSelect},
        {screen::kLevelSelect, L"", -1, {}, true, screen::kLevelSelect},
        {screen::kLevelSelect, L"back", -1, {"HUD.CloseTopWindow", "HUD.ShowEpisodeSelect"}, true,
         screen::kEpisodeSelect},
        {screen::kLevelSelect, L"back", -1, {"HUD.CloseTopWindow", "HUD.ShowLevelSelect"}, true, screen::kLevelSelect,
         [this] { map->mMode = 3; }, [this] { EXPECT_EQ(map->mMode, 1); }},
        {screen::kLevelSelect, L"upgrade", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 0"}, false, screen::kShop, nullptr,
         [] { EXPECT_EQ(NQMap::sShopReturnTarget, L"levels"); }},
        {screen::kLevelSelect, L"unlocked_d", -1, {"HUD.CloseTopWindow", "HUD.ShowLevelSelect"}, false,
         screen::kLevelSelect, nullptr, [this] { EXPECT_EQ(map->mMode, 3); }},
        {screen::kLevelSelect, L"locked_d", -1, {"HUD.ShowModalMessage Hardcore|Locked|6"}, false,
         screen::kModalMessage},
    });
}

// A level file that would open empty, or whose counts would stall the first
// wave, is refused when its plate is chosen: the level select stays with a
// message over it, the level in play and the profile stay as they were.
TEST_F(DispatcherTest, ADamagedLevelFileIsRefusedOverTheLevelSelect)
{
    const std::string entry = gametest::EntryXml(gametest::units::kTank, 0.0f);
    const std::string whole = gametest::StraightLevelXml(gametest::WaveXml("spawn=\"1\"", entry));
    const auto repeat = [](const std::string& text, size_t count) {
        std::string out;
        for (size_t i = 0; i < count; ++i)
            out += text;
        return out;
    };
    const auto withPoints = [&](size_t count) {
        const std::string extra = repeat("<p id=\"99\" x=\"1\" y=\"1\"/>", count);
        return std::regex_replace(whole, std::regex("<points>"), "<points>" + extra);
    };
    const auto withLinks = [&](size_t count) {
        const std::string extra = repeat("<l sid=\"1\" eid=\"2\" anchor_x=\"0\" anchor_y=\"0\"/>", count);
        return std::regex_replace(whole, std::regex("<links>"), "<links>" + extra);
    };
    const auto withWaves = [&](const std::string& waves) { return gametest::StraightLevelXml(waves); };
    struct Case
    {
        const char* name;
        std::string text;
        const wchar_t* why;
    };
    const std::vector<Case> cases = {
        {"cut in half", whole.substr(0, whole.size() / 2), L"not a readable level file"},
        {"empty", "", L"not a readable level file"},
        {"no map", "<level/>", L"no map"},
        {"no goal", std::regex_replace(whole, std::regex("\"goal\""), "\"end\""), L"no goal point"},
        {"no road", std::regex_replace(whole, std::regex("<l [^>]*/>"), ""), L"no road"},
        {"no wave", withWaves(""), L"no wave"},
        {"only an empty wave", withWaves(gametest::WaveXml("spawn=\"1\"", "")), L"no wave"},
        {"too many points", withPoints(kMaxLevelPoints), L"points"},
        {"too many links", withLinks(kMaxLevelLinks), L"links"},
        {"too many waves", withWaves(repeat(gametest::WaveXml("spawn=\"1\"", entry), kMaxLevelWaves + 1)), L"waves"},
        {"too many units", withWaves(gametest::WaveXml("spawn=\"1\"", repeat(entry, kMaxWaveUnits + 1))),
         L"units in a wave"},
    };
    hvtest::CaptureLog();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetProfiles(2);
        const std::string profilesBefore = profiles->FileText();
        data->Write("nq/levels_normal/level_01_01.xml", c.text);
        map->mScreenState = screen::kLevelSelect;
        map->mMode = 1;
        map->mLevel = 3;
        const size_t towers = map->mTowers.size();
        const size_t points = map->mPoints->size();
        hvtest::LogLines().clear();
        Release(L"", 0);
        EXPECT_EQ(Actions(), std::vector<std::string>{"HUD.ShowModalMessage level_refused_caption|"
                                                      "level_refused_message|6"});
        EXPECT_EQ(map->mScreenState, screen::kModalMessage);
        EXPECT_EQ(map->mPendingDialog, screen::kLevelSelect);
        EXPECT_EQ(map->mLevel, 3);
        EXPECT_EQ(map->mTowers.size(), towers);
        EXPECT_EQ(map->mPoints->size(), points);
        EXPECT_EQ(profiles->FileText(), profilesBefore);
        EXPECT_EQ(hvtest::CountLogLinesWith(L"cannot be opened"), 1);
        EXPECT_EQ(hvtest::CountLogLinesWith(c.why), 1);
    }

    // At the limits the level opens.
    data->Write("nq/levels_normal/level_01_01.xml",
                withWaves(repeat(gametest::WaveXml("spawn=\"1\"", entry), kMaxLevelWaves - 1) +
                          gametest::WaveXml("spawn=\"1\"", repeat(entry, kMaxWaveUnits))));
    map->mScreenState = screen::kLevelSelect;
    Release(L"", 0);
    EXPECT_TRUE(Contains(Actions(), {"HUD.CloseTopWindow"}));
    EXPECT_EQ(map->mLevel, 0);
    EXPECT_EQ(map->mWaveManager->mWaves.size(), kMaxLevelWaves);
}

TEST_F(DispatcherTest, MainMenuProfilesAndNameInputRows)
{
    const auto noProfile = [this] { SetProfiles(0); };
    Run({
        {screen::kMainMenu, L"play", -1, {"HUD.CloseTopWindow", "HUD.ShowEpisodeSelect"}, true,
         screen::kEpisodeSelect},
        {screen::kMainMenu, L"play", -1, {"HUD.ShowModalInput"}, true, screen::kNewProfileName, noProfile,
         [this] { EXPECT_EQ(map->mCurrentMenu, L"mmenu"); }},
        {screen::kMainMenu, L"shop", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 0"}, true, screen::kShop, nullptr,
         [] { EXPECT_EQ(NQMap::sShopReturnTarget, L"mmenu"); }},
        {screen::kMainMenu, L"shop", -1, {"HUD.ShowModalInput"}, true, screen::kNewProfileName, noProfile,
         [this] { EXPECT_EQ(map->mCurrentMenu, L"shop"); }},
        {screen::kMainMenu, L"options", -1, {}, true, screen::kMainMenu, nullptr,
         [this] { EXPECT_NE(Pushed<OptionsDialog>(), nullptr); }},
        {screen::kMainMenu, L"profile", -1, {"HUD.CloseTopWindow", "HUD.ShowProfiles"}, true, screen::kProfiles},
        {screen::kProfiles, L"", -1, {}, true, screen::kProfiles},
        {screen::kProfiles, L"create", -1, {"HUD.ShowModalInput"}, true, screen::kNewProfileName},
        {screen::kProfiles, L"create", -1, {"HUD.ShowModalMessage Error|Too many|13"}, true, screen::kModalMessage,
         [this] { SetProfiles(5); }, [this] { EXPECT_EQ(map->mPendingDialog, screen::kProfiles); }},
        {screen::kProfiles, L"back", -1, {"HUD.CloseTopWindow", "HUD.ShowMainMenu"}, true, screen::kMainMenu},
        {screen::kProfiles, L"confirm", -1, {"HUD.CloseTopWindow", "HUD.ShowMainMenu"}, true, screen::kMainMenu},
        {screen::kProfiles, L"rename", -1, {"HUD.ShowModalInput"}, true, screen::kRenameProfileName},
        {screen::kProfiles, L"rename", -1, {}, true, screen::kProfiles, noProfile},
        {screen::kProfiles, L"delete", -1, {}, true, screen::kProfiles},
        {screen::kNewProfileName, L"cancel", -1, {"HUD.CloseTopWindow"}, true, screen::kMainMenu,
         [this] { map->mCurrentMenu = L"shop"; }},
        {screen::kNewProfileName, L"cancel", -1, {"HUD.CloseTopWindow"}, true, screen::kProfiles},
        {screen::kModalMessage, L"ok", -1, {"HUD.CloseTopWindow"}, true, screen::kLevelSelect,
         [this] { map->mPendingDialog = screen::kLevelSelect; }},
    });
}

TEST_F(DispatcherTest, ShopGemShopAndQuestionRows)
{
    const auto target = [](const wchar_t* value) { return [value] { NQMap::sGemShopReturnTarget = value; }; };
    const auto shopTarget = [](const wchar_t* value) { return [value] { NQMap::sShopReturnTarget = value; }; };
    Run({
        {screen::kShop, L"back_ac", -1, {"Tutorial.OnEvent shop_state_changed", "HUD.CloseTopWindow",
                                         "HUD.ShowMainMenu"}, false, screen::kMainMenu, shopTarget(L"mmenu")},
        {screen::kShop, L"back_ac", -1, {"HUD.CloseTopWindow", "HUD.ShowLevelSelect"}, false, screen::kLevelSelect,
         shopTarget(L"levels")},
        {screen::kShop, L"back_ac", -1, {"HUD.CloseTopWindow", "HUD.ShowEpisodeSelect"}, false,
         screen::kEpisodeSelect, shopTarget(L"episodes")},
        {screen::kShop, L"back_ac", -1, {"Tutorial.OnEvent shop_state_changed"}, false, screen::kShop,
         shopTarget(L"game")},
        {screen::kShop, L"gem_shop1", -1, {"HUD.CloseTopWindow", "HUD.ShowGemShop shop1"}, true, screen::kGemShop,
         nullptr, [] { EXPECT_EQ(NQMap::sGemShopReturnTarget, L"shop1"); }},
        {screen::kShop, L"return_ac", -1, {"Tutorial.OnEvent shop_state_changed", "HUD.CloseTopWindow",
                                           "HUD.NextLevel"}, true, kSkip, [this] { map->mPendingResult = 2; },
         [this] { EXPECT_EQ(map->mPendingResult, -1); }},
        {screen::kShop, L"return_ac", -1, {"HUD.CloseTopWindow"}, true, screen::kShop, nullptr,
         [] { EXPECT_EQ(CountCalls("HUD.NextLevel"), 0); }},
        {screen::kUnlockMessage, L"ok", -1, {"HUD.CloseTopWindow", "Tutorial.OnEvent unlock_window_close"}, true,
         screen::kPlaying, nullptr, [this] {
             EXPECT_EQ(map->mSpeed, 1.0f);
             EXPECT_EQ(Hud()->mBackdropState, HUD::kBackdropOff);
         }},
        {screen::kGemShop, L"back_in", -1, {"HUD.CloseTopWindow"}, true, screen::kPlaying, target(L"game")},
        {screen::kGemShop, L"back_in", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 0"}, true, screen::kShop,
         target(L"shop0")},
        {screen::kGemShop, L"back_in", -1, {"HUD.CloseTopWindow", "HUD.ShowShop 1"}, true, screen::kShop,
         target(L"shop1")},
        {screen::kGemShop, L"back_in", -1, {"HUD.CloseTopWindow", "HUD.ShowEpisodeSelect"}, true,
         screen::kEpisodeSelect, target(L"episodes")},
        {screen::kGemShop, L"back_in", -1, {"HUD.CloseTopWindow", "HUD.ShowLevelSelect"}, true,
         screen::kLevelSelect, target(L"levels")},
        {screen::kGemShop, L"back_in", -1, {}, true, screen::kGemShop, target(L"nowhere")},
        // No store provider: the purchase does nothing visible.
        {screen::kGemShop, L"buy_50_cr", -1, {}, true, screen::kGemShop},
        {screen::kPurchaseResult, L"ok", -1, {"HUD.CloseTopWindow"}, true, screen::kWaitingForStore},
        {screen::kPurchaseResult, L"cancel", -1, {"HUD.CloseTopWindow", "HUD.PushWindow"}, true, screen::kLost},
        {screen::kResetUpgrades, L"ok", -1, {"HUD.CloseTopWindow", "HUD.RefreshTopWindow"}, true, screen::kShop},
        {screen::kResetUpgrades, L"cancel", -1, {"HUD.CloseTopWindow"}, true, screen::kShop},
    });
}

TEST_F(DispatcherTest, UnlistedStatesTakeOnlyTheHudStep)
{
    Run({
        {screen::kRestarting, L"ok", -1, {}, true, screen::kRestarting},
        {screen::kSplashScreens, L"done", -1, {}, true, screen::kSplashScreens},
        {screen::kWaitingForStore, L"ok", -1, {}, true, screen::kWaitingForStore},
        {screen::kIntroVideo, L"done", -1, {}, true, screen::kIntroVideo},
        {screen::kUnused19, L"ok", -1, {}, true, screen::kUnused19},
    });
}

TEST_F(ReleaseTest, StateIsReadBeforeTheWindowsClickChangesIt)
{
    // A name input whose Click opens the episode select.
    class ChangingHud : public gametest::RecordingHud
    {
    public:
        std::wstring Click(int, int) override
        {
            Game::GetMap()->mScreenState = screen::kEpisodeSelect;
            return L"ok";
        }
        int HitTest(int, int) override { return 0; }
    };
    auto* hud = new ChangingHud;
    HUD* old = map->mHud;
    map->mHud = hud;
    map->mScreenState = screen::kNewProfileName;
    map->mEpisode = 1;
    map->OnMouseUp(50, 50);
    EXPECT_EQ(map->mEpisode, 1);
    EXPECT_EQ(map->mScreenState, screen::kEpisodeSelect);
    map->mHud = old;
    delete hud;
}

class PlayReleaseTest : public ReleaseTest
{
protected:
    void SetUp() override
    {
        ReleaseTest::SetUp();
        map->mScreenState = screen::kPlaying;
        for (int slot : {0, 1, 4})
        {
            auto* button = new HUDSpellButton(slot);
            button->mIndex = int(Hud()->mSpellButtons.size());
            button->mCenterX = 100.0f + float(slot) * 60.0f;
            button->mCenterY = 720.0f;
            Hud()->mSpellButtons.push_back(button);
        }
    }

    void TearDown() override
    {
        for (HUDSpellButton* button : Hud()->mSpellButtons)
            delete button;
        Hud()->mSpellButtons.clear();
        map->mArmedSpell = nullptr;
        ReleaseTest::TearDown();
    }

    HUDSpellButton* Button(size_t index) const { return Hud()->mSpellButtons[index]; }

    size_t Spells() const
    {
        size_t count = 0;
        for (NQBullet* bullet : map->mBullets->mBullets)
            if (dynamic_cast<NQSpell*>(bullet))
                ++count;
        return count;
    }
};

TEST_F(PlayReleaseTest, SpellButtonsArmDisarmAndCast)
{
    Release(L"", 0);
    EXPECT_EQ(map->mArmedSpell, Button(0));
    // Arming goes on to the ring opening, which finds nothing here.
    EXPECT_TRUE(HudStep());
    // Another button re-arms.
    Release(L"", 1);
    EXPECT_EQ(map->mArmedSpell, Button(1));
    // The armed button itself disarms.
    Release(L"", 1);
    EXPECT_EQ(map->mArmedSpell, nullptr);

    // Armed, a release on nothing of the HUD casts at the map point.
    Release(L"", 0);
    Hud()->targets.clear();
    gametest::CallLog().clear();
    const int spellTags = CountTag(L"spell0");
    map->OnMouseUp(400, 300);
    EXPECT_EQ(map->mArmedSpell, nullptr);
    EXPECT_EQ(CountTag(L"spell0"), spellTags + 1);
    EXPECT_EQ(Spells(), 1u);
    EXPECT_TRUE(Button(0)->IsCooling());
    EXPECT_FALSE(HudStep());

    // The slot-4 spell is cast at once and never stays armed.
    Release(L"", 2);
    EXPECT_EQ(map->mArmedSpell, nullptr);
    EXPECT_EQ(CountTag(L"spell4"), 1);
    EXPECT_EQ(Spells(), 2u);
}

TEST_F(PlayReleaseTest, ASlotWithoutASheetRowCastsNothing)
{
    auto* orphan = new HUDSpellButton(7);
    orphan->mIndex = int(Hud()->mSpellButtons.size());
    Hud()->mSpellButtons.push_back(orphan);
    Release(L"", orphan->mIndex);
    EXPECT_EQ(map->mArmedSpell, orphan);
    Hud()->targets.clear();
    map->OnMouseUp(400, 300);
    EXPECT_EQ(map->mArmedSpell, nullptr);
    EXPECT_EQ(Spells(), 0u);
    EXPECT_EQ(CountTag(L"spell7"), 0);
    EXPECT_FALSE(orphan->IsCooling());
}

TEST_F(PlayReleaseTest, SpellButtonsAreRefusedWhileBlockedOrBusy)
{
    struct Case
    {
        int block;
        int hit;
    };
    for (const Case& c : {Case{1, 0}, Case{0, -2}, Case{0, 3}})
    {
        SCOPED_TRACE(c.hit);
        Hud()->mBlockUI = c.block;
        Release(L"", c.hit);
        EXPECT_EQ(map->mArmedSpell, nullptr);
        EXPECT_FALSE(HudStep());
    }
}

TEST_F(PlayReleaseTest, SpeedButtons)
{
    struct Case
    {
        const wchar_t* name;
        int block;
        float speed;
        int gamePlay;
    };
    const Case cases[] = {
        {L"pause_btn", 0, 0.0f, 0},      {L"play_btn", 0, 1.0f, 1},  {L"play_btn", 1, 1.0f, 1},
        {L"play_btn", 2, 0.5f, 0},       {L"speed_btn", 0, 2.0f, 0}, {L"speed_btn", 1, 0.5f, 0},
        {L"speed_btn_ac", 0, 0.5f, 0},   {L"play_btn_ac", 0, 0.5f, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(gametest::Narrow(c.name) + " " + std::to_string(c.block));
        map->mSpeed = 0.5f;
        Hud()->mBlockUI = c.block;
        const int simple = CountTag(L"simple");
        const int play = CountEvent(L"game_play");
        Release(c.name, -1);
        EXPECT_EQ(map->mSpeed, c.speed);
        EXPECT_EQ(CountTag(L"simple"), simple + 1);
        EXPECT_EQ(CountEvent(L"game_play"), play + c.gamePlay);
        EXPECT_FALSE(HudStep());
    }
    Hud()->mBlockUI = 0;
    Release(L"options_btn", -1);
    EXPECT_EQ(map->mScreenState, screen::kIngameMenu);
}

TEST_F(PlayReleaseTest, GemUnderThePointerIsCollected)
{
    auto* gem = new NQTowerSpecial;
    gem->mState = NQTowerSpecial::kLying;
    gem->mX = 400.0f;
    gem->mY = 300.0f;
    map->mDrops->push_back(gem);
    Economy().mGems = 2;
    Hud()->targets.clear();
    gametest::CallLog().clear();
    map->OnMouseUp(400, 300);
    EXPECT_EQ(Economy().mGems, 3);
    EXPECT_EQ(gem->mState, NQTowerSpecial::kCollected);
    EXPECT_FALSE(HudStep());
    EXPECT_NE(profiles->FileText().find("amount=\"3\""), std::string::npos);
}

TEST_F(PlayReleaseTest, GemsQuestionConvertsTheWholePriceAndForgetsWhatItWasAsked)
{
    NQUnitProto* arrow = map->mUnitDatabase->FindProto(towers::kArrow);
    arrow->cost = 160.0f;
    Economy().mGold = 100;
    Economy().mGems = 4;
    ReleaseOnSpot(kOpenSpot);
    OpenFully();
    PressItem(towers::kArrow);
    ASSERT_EQ(map->mScreenState, screen::kGemsForGold);
    Release(L"ok", -1);
    EXPECT_EQ(Economy().mGems, 0);
    EXPECT_EQ(Economy().mGold, 140);
    ASSERT_EQ(map->mTowers.size(), 1u);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    EXPECT_EQ(map->mPendingBuild.proto, nullptr);

    // An upgrade asked, then cancelled: nothing waits any more.
    NQTower* tower = map->mTowers[0];
    Economy().mGold = 0;
    Economy().mGems = 10;
    tower->UpgradeTo(1, 100.0f);
    ASSERT_EQ(map->mPendingUpgrade.tower, tower);
    map->mScreenState = screen::kGemsForGold;
    Release(L"cancel", -1);
    EXPECT_EQ(map->mPendingUpgrade.tower, nullptr);
    map->SellTower(tower);

    // A later build question's "ok" builds and touches no sold tower.
    Economy().mGold = 0;
    Economy().mGems = 10;
    EXPECT_EQ(map->BuildTower(arrow, SpotFrame(kTutorialSpot)), nullptr);
    map->mScreenState = screen::kGemsForGold;
    Release(L"ok", -1);
    EXPECT_EQ(map->mTowers.size(), 1u);
    EXPECT_EQ(Economy().mGems, 6);

    // Gems short at the answer: nothing is bought and no gold given.
    Economy().mGold = 0;
    Economy().mGems = 10;
    map->mTowers[0]->mTierCount = 2;
    map->mTowers[0]->UpgradeTo(1, 100.0f);
    Economy().mGems = 1;
    map->mScreenState = screen::kGemsForGold;
    Release(L"ok", -1);
    EXPECT_EQ(Economy().mGold, 0);
    EXPECT_EQ(map->mTowers[0]->mLevel, 0);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
}

TEST_F(PlayReleaseTest, GemsQuestionUpgradeResetsTheInPlaceCount)
{
    NQTower* tower = BuildOn(kOpenSpot, towers::kCannon);
    tower->mTierCount = 2;
    Economy().mGold = 0;
    Economy().mGems = 10;
    tower->UpgradeTo(1, 150.0f);
    ASSERT_EQ(map->mScreenState, screen::kGemsForGold);
    Release(L"ok", -1);
    EXPECT_EQ(tower->mLevel, 1);
    EXPECT_EQ(tower->mTierCount, 0);
    EXPECT_EQ(Economy().mGems, 7);
    EXPECT_EQ(Economy().mGold, 0);
}
} // namespace
