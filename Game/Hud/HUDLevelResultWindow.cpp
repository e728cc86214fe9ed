#include "Game/Hud/HUDLevelResultWindow.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/DecimalText.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEffect.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace
{
constexpr int32_t kMaxStars = 3;
// Cumulative gems for 0, 1, 2 and 3 stars.
constexpr int32_t kStarGems[kMaxStars + 1] = {0, 3, 8, 13};
// The episode bonus is judged on the normal-mode records, whatever was played.
constexpr int kNormalMode = 1;
constexpr float kPopInTime = 0.25f;
constexpr float kPopInGrowth = 4.0f;
constexpr float kLineTime = 1.0f;
constexpr int kEmitterPlayToEnd = 2;

// The value a line shows at the phase clock t: the whole of it from one second on.
int32_t CountedUp(int32_t finalValue, float t)
{
    return int32_t(double(finalValue) * double(std::min(t, kLineTime)) + 0.5);
}

void PlayEffectsToEnd(const std::vector<NQEffect*>& effects)
{
    for (NQEffect* effect : effects)
    {
        if (effect && effect->mEmitter)
            effect->mEmitter->SetState(kEmitterPlayToEnd);
    }
}

// Every normal-mode level of the episode has a star in the stored records.
bool EpisodeFullyStarred(NQMap& map, NQProgress& progress, int32_t episode)
{
    const int32_t levels = map.GetLevelCount(episode);
    int32_t starred = 0;
    for (int32_t j = 0; j < levels; ++j)
    {
        std::unique_ptr<NQLevelRecord> record(progress.GetLevelRecord(episode, j, kNormalMode));
        if (record->stars > 0)
            ++starred;
    }
    // An episode missing from the setup sheet counts -1 levels: never equal.
    return starred == levels;
}
} // namespace

int32_t HUDLevelResultWindow::CountStars(float lives, float maxLives)
{
    if (maxLives <= 0.0f)
        return 0;
    const float ratio = lives / maxLives;
    if (ratio >= 1.0f)
        return 3;
    if (ratio >= 0.5f)
        return 2;
    if (ratio > 0.0f)
        return 1;
    return 0;
}

int32_t HUDLevelResultWindow::StarGems(int32_t stars, int32_t storedStars)
{
    stars = std::clamp(stars, 0, kMaxStars);
    storedStars = std::clamp(storedStars, 0, kMaxStars);
    return stars > storedStars ? kStarGems[stars] - kStarGems[storedStars] : 0;
}

int32_t HUDLevelResultWindow::LifeBonus(float lives)
{
    return int32_t(std::floor(double(lives) * 100.0));
}

HUDLevelResultWindow::HUDLevelResultWindow() : HUDWindow(kLayout)
{
    mOffsetX = 0.0f;
    mOffsetY = 0.0f;
    mScale = 0.0f;

    NQMap* map = Game::GetMap();
    // A window built without a running level shows its layout and stores nothing.
    if (!map || !map->mProgress || !map->mEconomy)
        return;

    PlayEffectsToEnd(map->mDepthEffects);
    PlayEffectsToEnd(map->mEffects);

    const int32_t stars = CountStars(map->mLives, map->mMaxLives);
    for (int32_t i = 0; i < kMaxStars; ++i)
        SetImageVisible(L"star" + std::to_wstring(i), i < stars);

    NQProgress& progress = *map->mProgress;
    std::unique_ptr<NQLevelRecord> stored(progress.GetLevelRecord(map->mEpisode, map->mLevel, map->mMode));
    NQLevelRecord record;
    map->mEconomy->MakeLevelRecord(record);

    int32_t award = StarGems(stars, stored->stars);

    // Every episode has its own flag, counted from 1.
    const int32_t flag = map->mEpisode + 1;
    if (!progress.GetEventFlag(flag) && EpisodeFullyStarred(*map, progress, map->mEpisode))
    {
        award += kEpisodeBonus;
        progress.SetEventFlag(flag);
    }
    if (award > 0)
        map->mEconomy->AddGems(award);

    record.stars = map->mScreenState == screen::kWon ? stars : 0;
    SetText(L"gems", LocalText(L"gems") + L": " + DecimalText(award));
    const int32_t best = std::max(record.GetScore(), stored->high);
    SetText(L"bestScore", LocalText(L"game_best_score") + DecimalText(best));

    // The award went through the economy already; the record must not pay it again.
    record.gems = 0;
    progress.StoreLevelResult(map->mEpisode, map->mLevel, map->mMode, record);
}

HUDLevelResultWindow::~HUDLevelResultWindow() = default;

void HUDLevelResultWindow::Update(float dt)
{
    HUDWindow::Update(dt);
    const NQMap* map = Game::GetMap();
    const NQLevelEconomy* economy = map ? map->mEconomy : nullptr;
    switch (mState)
    {
    case kPopIn:
        if (mTime > kPopInTime)
        {
            mTime = 0.0f;
            mState = kKillScore;
        }
        mScale += dt * kPopInGrowth;
        break;
    case kKillScore:
        mOffsetY = 0.0f;
        mScale = 1.0f;
        if (!economy || economy->mKillScore == 0)
        {
            mState = kComboBonus;
            mTime = 0.0f;
        }
        break;
    case kComboBonus:
        if (!economy || economy->mComboBonus == 0)
        {
            mState = kLifeBonus;
            mTime = 0.0f;
        }
        break;
    default:
        break;
    }
}

void HUDLevelResultWindow::Draw(render::Graphics* graphics)
{
    const NQMap* map = Game::GetMap();
    const int32_t killScore = map && map->mEconomy ? map->mEconomy->mKillScore : 0;
    const int32_t lifeBonus = map ? LifeBonus(map->mLives) : 0;
    // Each line ends once its clock passes a second; the next starts at 0.
    auto endLine = [this](int nextPhase) {
        if (mTime > kLineTime)
        {
            mState = nextPhase;
            mTime = 0.0f;
        }
    };
    const bool counting = mState >= kKillScore && mState <= kTotalScore;
    switch (mState)
    {
    case kPopIn:
        if (graphics)
            graphics->SetColor(1.0f, 1.0f, 1.0f, mTime * 2.0f);
        break;
    case kKillScore:
        SetText(L"killScore", LocalText(L"game_kill_score") + DecimalText(CountedUp(killScore, mTime)));
        endLine(kLifeBonus);
        break;
    case kComboBonus:
        SetText(L"goldBonus", std::wstring());
        endLine(kLifeBonus);
        break;
    case kLifeBonus:
        SetText(L"lifeBonus", LocalText(L"game_life_bonus") + DecimalText(CountedUp(lifeBonus, mTime)));
        endLine(kTotalScore);
        break;
    case kTotalScore:
        SetText(L"totalScore", LocalText(L"game_total_score") + DecimalText(CountedUp(lifeBonus + killScore, mTime)));
        endLine(kFinished);
        break;
    default:
        break;
    }
    if (counting && graphics)
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    HUDWindow::Draw(graphics);
}
