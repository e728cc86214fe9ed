#pragma once

#include <cstdint>

// The level's wallet and score sheet: gold per level, the player's gems for
// the whole run (mirrored in the progress record at every change).
class NQLevelEconomy
{
public:
    static constexpr float kComboWindow = 1.0f;

    // Gems += n and gems gained += n; the HUD counter and the progress record follow.
    void AddGems(int32_t n);
    // Gold += n; the HUD's gold counter is refreshed.
    void AddGold(int32_t n);
    // The per-level values back to 0; gems, combo window and combo timer stay.
    void Reset();

    int32_t mShownGold = 0;
    int32_t mKillScore = 0;
    int32_t mComboBonus = 0;
    int32_t mSpentGold = 0;
    int32_t mGemsGained = 0;
    int32_t mLeakedDamage = 0;
    int32_t mLeakedCount = 0;
    int32_t mStartBudget = 0;
    int32_t mGold = 0;
    int32_t mGems = 0;
    float mComboWindow = kComboWindow;
    int32_t mComboCount = 0;
    float mTimeSinceLastKill = 0.0f;
};
