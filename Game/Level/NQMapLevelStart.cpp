// Starting and restarting a level.
#include "Core/Base/DeleteAll.h"
#include "Core/Base/FileFunctions.h"
#include "Core/Base/Format.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Sound/SoundTags.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDLevelName.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/LevelFileCheck.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "Psd/PsdTypes.h"

#include <string>
#include <vector>

namespace
{
constexpr int32_t kHardcoreMode = 3;
constexpr float kHardcoreLives = 1.0f;
constexpr int32_t kBaseLives = 25;
// The episodes with music of their own; every other plays the first track.
constexpr int32_t kMusicTracks = 7;
// An intro whose first id is this shows nothing.
constexpr int32_t kNoIntro = -1;
// The tutorial's spot lesson: once it is done, the intro's end resumes its follow-up.
constexpr int kTutorialSpotStep = 5;
constexpr int kStepDone = 2;

void ShowLevelBanner()
{
    // A level built without a game has no board to show the banner on.
    Game* game = Game::Get();
    if (game && game->GetRootBoard())
        game->GetRootBoard()->SetBannerOverlay(new HUDLevelName);
}
} // namespace

std::wstring NQMap::MakeLevelPath() const
{
    const wchar_t* folder = mMode == kHardcoreMode ? L"nq/levels_hardcore/" : L"nq/levels_normal/";
    base::Format name(L"level_%02d_%02d.xml");
    name % int32_t(mEpisode + 1) % int32_t(mLevel + 1);
    return folder + name.GetText();
}

std::wstring NQMap::GetMusicPath(int32_t episode)
{
    const int32_t track = episode >= 0 && episode < kMusicTracks ? episode + 1 : 1;
    return L"nq/data/music/ingame" + std::to_wstring(track) + L".ogg";
}

bool NQMap::CanOpenLevel() const
{
    const std::wstring path = MakeLevelPath();
    const std::wstring why = CheckLevelFile(base::ReadWholeFile(path));
    if (why.empty())
        return true;
    HV_LOG(L"level %s cannot be opened: %s\n") % path % why;
    return false;
}

void NQMap::ShowLevelRefused()
{
    mHud->ShowModalMessage(LocalText(L"level_refused_caption"), LocalText(L"level_refused_message"),
                           screen::kLevelSelect);
}

void NQMap::StartLevel()
{
    mLevelPath = MakeLevelPath();
    ResetLevel();
    mHud->mState = 0;
    mDropChanceOverride = float(mProgress->GetTutorialParam(L"dropChanceOverride"));
    NQTutorial::Instance()->OnEvent(L"level_" + std::to_wstring(mEpisode + 1) + L"_" +
                                    std::to_wstring(mLevel + 1) + L"_start");
}

void NQMap::ResetLevel()
{
    mHud->mState = 0;
    mViewOffsetX = 0.0f;
    mViewOffsetY = 0.0f;
    mZoom = 1.0f;
    if (Game* game = Game::Get())
        game->ShowLoadingScreen();

    mEconomy->Reset();
    mKillRewardFactor = 0.0f;
    mStartGoldFactor = 0.0f;
    mLivesBonus = 0;
    mUpgradeTable->ApplyGlobal(this);

    // Everything that points at a unit prototype goes before the sheets
    // are reread, which deletes the prototypes.
    base::DeleteAll(*mDrops);
    mSelectedEnemy = nullptr;
    if (mWaveHints)
        mWaveHints->Clear();
    base::DeleteAll(mWaveManager->mEnemies);
    // Beams read their enemies and towers point at beams.
    base::DeleteAll(mParticles);
    base::DeleteAll(mTowers);
    base::DeleteAll(mModifiers);
    mBullets->Clear();
    LoadSheets();

    mArmedSpell = nullptr;
    mScreenState = screen::kRestarting;
    mSpeed = 0.0f;
    mHud->mState = 0;
    mHud->ResetSpellCooldowns();
    // Their tower and prototype did not survive the reset.
    mPendingBuild = {};
    mPendingUpgrade = {};

    mWaveManager->mClock = 0.0f;
    mWaveManager->Reset();
    mWaveManager->mNextWave = 0;

    mLives = mMode == kHardcoreMode ? kHardcoreLives : float(kBaseLives + mLivesBonus);
    mMaxLives = mLives;
    if (mDecorationSet)
        mDecorationSet->ShowSpotFrames();
    // Windows still pending stay pending. Bounded, so a HUD that keeps its
    // windows cannot hold the reset.
    for (size_t open = mHud->mWindows.size(); open > 0 && mHud->HasWindows(); --open)
        mHud->CloseTopWindow();

    LoadLevelXml(mLevelPath);
    mSpeed = 1.0f;
    mScreenState = screen::kPlaying;
    UpdateSpeedButtons();
    k2::SoundTags::Instance()->PlayMusic(GetMusicPath(mEpisode));
    BuildRoutes();
    // A hint of the level left behind is over: its lesson starts again below.
    NQTutorial::Instance()->ClearHints();
    NQTutorial::Instance()->ResetUnfinishedSteps();

    ShowLevelIntro();

    mHud->UpdateWavesText();
    mHud->UpdateGemsText();
    mHud->UpdateGoldText();
    mHud->UpdateLivesText();
    // The level has loaded its pictures: the decoder's kept blocks go back.
    psdr_release_cache();
}

void NQMap::ShowLevelIntro()
{
    std::vector<int32_t> unlocked;
    mUnlockTable->GetNewUnlocks(unlocked);
    if (unlocked.empty())
    {
        ShowLevelBanner();
        return;
    }
    if (unlocked.front() == kNoIntro)
        return;
    // Each unlock is announced once per player: a replay goes on as after the message.
    std::vector<int32_t> fresh;
    for (int32_t id : unlocked)
        if (!mProgress || !mProgress->IsUnlockAnnounced(id))
            fresh.push_back(id);
    if (fresh.empty())
    {
        EndLevelIntro();
        return;
    }
    if (mProgress)
        mProgress->SetUnlocksAnnounced(fresh);
    mHud->ShowUnlockMessage(fresh);
}

void NQMap::EndLevelIntro()
{
    ShowLevelBanner();
    const bool spotStepDone = mProgress && mProgress->GetTutorialStepState(kTutorialSpotStep) == kStepDone;
    NQTutorial::Instance()->OnEvent(spotStepDone ? L"buildspot_bought" : L"unlock_window_close");
}
