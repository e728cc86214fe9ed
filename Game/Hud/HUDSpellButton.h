#pragma once

#include <cstdint>

// The HUD button of one spell slot.
class HUDSpellButton
{
public:
    virtual ~HUDSpellButton() = default;

    int32_t mSpellId = 0;
    // Its HUD slot and its index in the order of addition.
    int32_t mSlot = 0;
    int32_t mIndex = 0;
    float mCenterX = 0.0f;
    float mCenterY = 0.0f;
    float mCooldown = 0.0f;
    bool mCooling = false;
};
