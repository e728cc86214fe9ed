// The ring's three fillers: build on an open spot, buy a locked spot, and
// sell or upgrade a tower.
#include "Game/Level/NQContextMenu.h"

#include "Core/Base/LogMessage.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"

#include <string>

namespace
{
constexpr int32_t kTowerType = 1;
constexpr float kBuildStartAngle = 90.0f;
constexpr float kBuildEndAngle = 270.0f;
constexpr float kBuySpotAngle = 90.0f;
constexpr float kFullCircle = 360.0f;
constexpr int32_t kSellKey = 0;
constexpr int32_t kBuyKey = 1;
constexpr int32_t kTierKey = 1;

bool IsUnlocked(const NQMap* map, int32_t id)
{
    return map && map->mUnlockTable && map->mUnlockTable->IsUnlocked(id);
}

// A copy of exactly that prototype with the bought upgrades applied.
NQUnitProto* UpgradedCopy(const NQMap* map, const NQUnitProto* original)
{
    auto* copy = new NQUnitProto;
    copy->CopyFrom(original);
    if (map && map->mUpgradeTable)
        map->mUpgradeTable->ApplyToProto(copy);
    return copy;
}

render::Image* SingleImage(const NQUnitProto* proto)
{
    return proto->spriteSet ? proto->spriteSet->mPicture : nullptr;
}

// The cost of every level from the tower's level up to the choice. False when
// the chain of "require" values does not reach the level (a missing link or
// a cycle): such a choice cannot be priced.
bool ChainPrice(const std::vector<NQUnitProto*>& offered, const NQUnitProto* choice, int32_t level, int depth,
                float& price)
{
    if (choice->require == level)
    {
        price = choice->cost;
        return true;
    }
    if (depth >= NQContextMenu::kChainDepthLimit)
        return false;
    for (const NQUnitProto* step : offered)
    {
        if (step->levelid != choice->require)
            continue;
        float below = 0.0f;
        if (!ChainPrice(offered, step, level, depth + 1, below))
            return false;
        price = below + choice->cost;
        return true;
    }
    return false;
}

std::string BuySpotCaption(const NQSpot& spot)
{
    std::string caption;
    if (spot.mGoldPrice != 0)
        caption = "$" + std::to_string(spot.mGoldPrice);
    if (spot.mGemPrice != 0)
    {
        if (!caption.empty())
            caption += "; ";
        caption += "#" + std::to_string(spot.mGemPrice);
    }
    return caption;
}
} // namespace

void NQContextMenu::OpenBuildMenu(int32_t, NQFrameEntry* spotFrame)
{
    mKind = kBuildRing;
    mSpotFrame = spotFrame;
    mStartAngle = kBuildStartAngle;
    mEndAngle = kBuildEndAngle;
    mRadius = kRadius;
    const NQMap* map = Game::GetMap();
    if (!map || !map->mUnitDatabase)
        return;
    int32_t index = 1;
    for (const NQUnitProto* proto : map->mUnitDatabase->mProtos)
    {
        if (proto->type != kTowerType || !IsUnlocked(map, proto->id))
            continue;
        NQContextMenuItem* item = AddItem(index++, proto->id);
        item->mIcon = SingleImage(proto);
        item->mProto = UpgradedCopy(map, proto);
        item->mPrice = item->mProto->cost;
    }
}

void NQContextMenu::OpenBuySpotMenu(NQFrameEntry* spotFrame)
{
    mKind = kBuySpotRing;
    mSpotFrame = spotFrame;
    // The single item stands right of the spot; the layout keeps it there.
    mStartAngle = kBuySpotAngle;
    mEndAngle = kFullCircle;
    NQContextMenuItem* item = AddItem(1, kBuyKey);
    item->mAngle = kBuySpotAngle;
    if (spotFrame && spotFrame->mSpot)
        item->mCaption = BuySpotCaption(*spotFrame->mSpot);
}

void NQContextMenu::OpenTowerMenu(NQTower* tower)
{
    mKind = kTowerRing;
    mTower = tower;
    mStartAngle = 0.0f;
    mEndAngle = kFullCircle;
    if (!tower)
        return;
    mSpotFrame = tower->mSpotFrame;
    AddItem(0, kSellKey);
    const NQUnitProto* base = tower->mBaseProto;
    if (!base)
        return;
    const NQMap* map = Game::GetMap();
    if (tower->mTierCount < base->tierUpdates)
    {
        mKind = kTierRing;
        NQContextMenuItem* item = AddItem(1, kTierKey);
        item->mProto = UpgradedCopy(map, base);
        item->mPrice = item->mProto->tierCost;
        return;
    }

    std::vector<NQUnitProto*> offered;
    for (const NQUnitProto* child : base->children)
        if (child->require >= tower->mLevel && IsUnlocked(map, child->id))
            offered.push_back(UpgradedCopy(map, child));
    // Every copy stays in the list until all are priced: a later choice's
    // chain may pass through an earlier one.
    std::vector<bool> taken(offered.size(), false);
    int32_t index = 1;
    for (size_t i = 0; i < offered.size(); ++i)
    {
        NQUnitProto* choice = offered[i];
        float price = 0.0f;
        if (!ChainPrice(offered, choice, tower->mLevel, 0, price))
        {
            HV_LOG(L"Tower choice %d: its \"require\" chain does not reach level %d; left out\n") % choice->id %
                tower->mLevel;
            continue;
        }
        NQContextMenuItem* item = AddItem(index++, choice->levelid);
        item->mIcon = SingleImage(choice);
        item->mPrice = price;
        item->mProto = choice;
        taken[i] = true;
    }
    // The copies no item took.
    for (size_t i = 0; i < offered.size(); ++i)
        if (!taken[i])
            delete offered[i];
}
