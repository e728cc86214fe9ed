// The interface pictures of the level.
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveHintStrip.h"

#include <string>

namespace
{
struct TowerIcon
{
    int32_t id;
    const wchar_t* frame;
};

// The three tiers of a line (ids ending in 00, 01, 02) share one icon.
constexpr TowerIcon kTowerIcons[] = {
    {10000, L"ui/tower_01"}, {10001, L"ui/tower_01"}, {10002, L"ui/tower_01"}, {10100, L"ui/tower_03"},
    {10200, L"ui/tower_02"}, {20000, L"ui/tower_05"}, {20001, L"ui/tower_05"}, {20002, L"ui/tower_05"},
    {20100, L"ui/tower_04"}, {20200, L"ui/tower_06"}, {30000, L"ui/tower_09"}, {30001, L"ui/tower_09"},
    {30002, L"ui/tower_09"}, {30100, L"ui/tower_11"}, {30200, L"ui/tower_10"}, {40000, L"ui/tower_08"},
    {40001, L"ui/tower_08"}, {40002, L"ui/tower_08"}, {40100, L"ui/tower_12"}, {40200, L"ui/tower_07"},
};

struct Badge
{
    const char* name;
    const wchar_t* frame;
};

constexpr Badge kBadges[] = {
    {"dot", L"ui/acid_01"},        {"aimed", L"ui/beam_01"},          {"splash", L"ui/aoe_01"},
    {"firesplash", L"ui/burn_01"}, {"stun", L"ui/dazed_01"},          {"towerBoost", L"ui/hammer_01"},
    {"goldIncome", L"ui/money_01"}, {"teleportEnemy", L"ui/portal_01"}, {"air", L"ui/wing_01"},
    {"stars1", L"ui/might_01"},    {"stars2", L"ui/might_02"},        {"showInvisible", L"ui/showInvisible_01"},
};

// Borrowed from the preloaded set; null when the frame or its picture is missing.
render::Image* FindUiPicture(const wchar_t* name)
{
    NQFrameEntry* frame = NQResources::Instance()->FindFrame(L"nq/ui", L"", name);
    return frame ? frame->mPicture : nullptr;
}
} // namespace

void NQMap::LoadUiSprites()
{
    if (!mWaveHints)
        mWaveHints = new NQWaveHintStrip;
    if (!mFloatingIcons)
        mFloatingIcons = new NQFloatingIcons;

    mRoadMark = FindUiPicture(L"ui/brush");
    mPowerBuffPicture = FindUiPicture(L"ui/power_buff");
    mLevel2Mark = FindUiPicture(L"ui/lvl2");
    mLevel3Mark = FindUiPicture(L"ui/lvl3");
    mSellPicture = FindUiPicture(L"ui/sell");
    mBuyPicture = FindUiPicture(L"ui/buy");
    mContextGemPicture = FindUiPicture(L"ui/context_gem");
    for (const TowerIcon& icon : kTowerIcons)
        mTowerIcons[icon.id] = FindUiPicture(icon.frame);
    for (const Badge& badge : kBadges)
        mAbilityIcons[badge.name] = FindUiPicture(badge.frame);
    mBarPicture = FindUiPicture(L"ui/bar");
    mRadiusPicture = FindUiPicture(L"ui/radius");
    mLevelPictures[0] = FindUiPicture(L"ui/l1");
    mLevelPictures[1] = FindUiPicture(L"ui/l2");
    mLevelPictures[2] = FindUiPicture(L"ui/l3");
}
