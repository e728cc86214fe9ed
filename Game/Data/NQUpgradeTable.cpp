#include "Game/Data/NQUpgradeTable.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/FileFunctions.h"
#include "Core/Math/MathFunctions.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQTower.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <tinyxml2.h>

namespace
{
const float kPercent = 100.0f;
const int32_t kWholeLevel = -1;

// goldIncome + a truncated increment, held within the int32_t range.
int32_t AddSaturating(int32_t value, int32_t increment)
{
    const int64_t sum = static_cast<int64_t>(value) + increment;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
} // namespace

NQUpgradeTable::NQUpgradeTable(const std::wstring& path)
{
    Build(base::ReadTextFile(path));
}

NQUpgradeTable::~NQUpgradeTable()
{
    base::DeleteAll(mUpgrades);
}

void NQUpgradeTable::Build(const std::string& text)
{
    tinyxml2::XMLDocument doc;
    // A damaged file offers nothing, like a missing one.
    if (doc.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
        return;
    const tinyxml2::XMLElement* root = doc.RootElement();
    if (root == nullptr || std::string(root->Name()) != "upgrades")
        return;
    // From the first "upgrade" on, every sibling is one whatever its name.
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("upgrade"); element != nullptr;
         element = element->NextSiblingElement())
        mUpgrades.push_back(new NQUpgrade(element));
}

void NQUpgradeTable::GetSection(int32_t section, std::vector<NQUpgrade*>& upgrades) const
{
    for (NQUpgrade* upgrade : mUpgrades)
        if (upgrade->section == section)
            upgrades.push_back(upgrade);
}

void NQUpgradeTable::ApplyGlobal(NQMap* map) const
{
    if (map == nullptr)
        return;
    for (const NQUpgrade* upgrade : mUpgrades)
    {
        // Only upgrades of the level as a whole: a -1 further down the
        // targets makes an upgrade available, not global.
        if (upgrade->targets.empty() || upgrade->targets.front() != kWholeLevel)
            continue;
        const NQUpgradeStep* step = FindStepInForce(*upgrade, map->mProgress);
        if (step == nullptr)
            continue;
        const float lives = step->GetParam("maxHP");
        if (lives > 0.0f)
            map->mLivesBonus = math::TruncateToInt32(lives);
        const float killReward = step->GetParam("enemyCost");
        if (killReward > 0.0f)
            map->mKillRewardFactor = killReward / kPercent;
        const float startGold = step->GetParam("startBudget");
        if (startGold > 0.0f)
            map->mStartGoldFactor = startGold / kPercent;
    }
}

void NQUpgradeTable::ApplyToProto(NQUnitProto* copy) const
{
    const NQMap* map = Game::GetMap();
    for (const NQUpgrade* upgrade : mUpgrades)
        if (const NQUpgradeStep* step = FindStepFor(*upgrade, copy->id, map))
            ApplyStepToProto(*step, *copy);
}

void NQUpgradeTable::ApplyToTower(NQTower* tower) const
{
    const NQUnitProto* current = tower ? tower->GetProto(-1) : nullptr;
    if (current && tower->mBonus)
        ApplyToTower(*current, *tower->mBonus);
}

void NQUpgradeTable::ApplyToTower(const NQUnitProto& current, NQUnitProto& bonus) const
{
    const NQMap* map = Game::GetMap();
    for (const NQUpgrade* upgrade : mUpgrades)
        if (const NQUpgradeStep* step = FindStepFor(*upgrade, current.id, map))
            AddStepToBonus(*step, current, bonus);
}

// Operand order as written: the roundings depend on it.
void NQUpgradeTable::ApplyStepToProto(const NQUpgradeStep& step, NQUnitProto& copy)
{
    copy.r = copy.r + copy.r * step.GetParam("radius") / kPercent;
    copy.strength = copy.strength + std::ceil(copy.strength * step.GetParam("strength") / kPercent);
    copy.cost = copy.cost + std::floor(copy.cost * step.GetParam("cost") / kPercent);
    copy.cooldown = copy.cooldown - copy.cooldown * step.GetParam("cooldown") / kPercent;
    const float income = static_cast<float>(copy.goldIncome) * step.GetParam("goldIncome") / kPercent;
    copy.goldIncome = AddSaturating(copy.goldIncome, math::TruncateToInt32(income));
    copy.speed = copy.speed + std::floor(copy.speed * step.GetParam("speed") / kPercent);
}

void NQUpgradeTable::AddStepToBonus(const NQUpgradeStep& step, const NQUnitProto& current, NQUnitProto& bonus)
{
    bonus.r += step.GetParam("radius") / kPercent * current.r;
    bonus.strength += std::ceil(step.GetParam("strength") / kPercent * current.strength);
    bonus.cooldown += step.GetParam("cooldown") / kPercent * current.cooldown;
}

NQUpgradeStep* NQUpgradeTable::FindStepFor(const NQUpgrade& upgrade, int32_t protoId, const NQMap* map)
{
    const std::vector<int32_t>& targets = upgrade.targets;
    if (std::find(targets.begin(), targets.end(), protoId) == targets.end())
        return nullptr;
    // Applies only once something it targets is in play at this level.
    if (map == nullptr || map->mUnlockTable == nullptr)
        return nullptr;
    const NQUnlockTable& unlocks = *map->mUnlockTable;
    const bool reached = std::any_of(targets.begin(), targets.end(), [&unlocks, map](int32_t target) {
        return target == kWholeLevel || unlocks.IsUnlockedAt(map->mEpisode, map->mLevel, target);
    });
    return reached ? FindStepInForce(upgrade, map->mProgress) : nullptr;
}

NQUpgradeStep* NQUpgradeTable::FindStepInForce(const NQUpgrade& upgrade, NQProgress* progress)
{
    if (progress == nullptr)
        return nullptr;
    // -1 none bought (always in hardcore), -2 no entry.
    const int32_t level = progress->GetUpgradeLevel(upgrade.id);
    return level >= 0 ? upgrade.GetStep(level) : nullptr;
}
