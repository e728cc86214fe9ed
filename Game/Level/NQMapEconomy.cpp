// The level object's money matters: the difficulty's health offset and the
// refund of bought upgrades.
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <algorithm>

namespace
{
constexpr int32_t kEasyMode = 0;
constexpr int32_t kHardMode = 2;
constexpr float kEasyFactor = -0.1f;
constexpr float kHardFactor = 0.1f;
constexpr int32_t kNotBought = -1;
} // namespace

float NQMap::GetDifficultyFactor() const
{
    if (mMode == kEasyMode)
        return kEasyFactor;
    if (mMode == kHardMode)
        return kHardFactor;
    // Normal and hardcore.
    return 0.0f;
}

void NQMap::ResetUpgrades()
{
    int32_t refund = 0;
    for (const NQUpgrade* upgrade : mUpgradeTable->mUpgrades)
    {
        const int32_t level = mProgress->GetUpgradeLevel(upgrade->id);
        // -1 nothing bought, -2 no entry: neither is written.
        if (level < 0)
            continue;
        const int32_t last = int32_t(upgrade->steps.size()) - 1;
        for (int32_t i = 0; i <= std::min(level, last); ++i)
            refund += upgrade->steps[size_t(i)]->gemPrice;
        mProgress->SetUpgradeLevel(upgrade->id, kNotBought);
    }
    // Stored even when nothing was refunded.
    mEconomy->AddGems(refund);
}
