#pragma once

#include <cstdint>

class NQLevelRecord;

// The level's wallet and score sheet: gold per level, the player's gems for
// the whole run (mirrored in the progress record at every change), the kill
// score and the combo that turns quick kills into extra gold.
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
    // Kills, combo, lives bonus and mode of the level just played; stars and
    // gems 0; high as the caller left it.
    NQLevelRecord& MakeLevelRecord(NQLevelRecord& record) const;
    // Callers test the price first.
    void SpendGold(int32_t n);
    // Takes nothing when the gems are short; saves the total either way.
    void SpendGems(int32_t n);
    // The kill reward, counted into the running combo; the point is where the
    // kill happened.
    void OnKill(int32_t reward, float x, float y);
    // With the raw frame time: the shown gold counts towards the gold and the
    // combo settles once the window has passed without a kill.
    void Update(float dt);

    int32_t mShownGold = 0;
    int32_t mKillScore = 0;
    int32_t mComboBonus = 0;
    int32_t mSpentGold = 0;
    int32_t mGemsGained = 0;
    int32_t mGold = 0;
    int32_t mGems = 0;
    float mComboWindow = kComboWindow;
    int32_t mComboCount = 0;
    float mTimeSinceLastKill = 0.0f;

private:
    // Pays a combo of two kills or more; the count is 0 afterwards.
    void SettleCombo();
    void StoreGems();
};
