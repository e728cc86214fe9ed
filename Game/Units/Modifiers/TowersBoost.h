#pragma once

// The boost spell: every tower, also those built while it lasts, gets a
// share of its own damage and range, a hammer over it and the hammer mark
// that keeps the enemies' tower auras off.
#include "Game/Units/Modifiers/NQModifier.h"

#include <vector>

class NQEffect;
class NQTower;

class TowersBoost : public NQModifier
{
public:
    TowersBoost(float duration, float value);
    // The hammers go; marks no other running boost holds are cleared.
    ~TowersBoost() override;
    void Tick(NQEnemy* owner, float dt) override;
    // A sold tower leaves the boost with its hammer.
    void ForgetSource(void* object) override;

    // Not owned; the hammer of mBoosted[i] is mHammers[i].
    std::vector<NQTower*> mBoosted;
    // Held in the map's anchor effects.
    std::vector<NQEffect*> mHammers;

private:
    void DestroyHammer(NQEffect* hammer);
    bool IsHeldByOther(const NQTower* tower) const;
};
