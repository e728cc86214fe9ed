#pragma once

#include "Game/Hud/HUDButton.h"
#include "Game/Hud/LevelHud.h"

#include <cstdint>

namespace render
{
class ParticleEmitter;
}

struct NQSpellEntry;

// The HUD button of one spell slot. The base's timer is the remaining
// cooldown and its pressed flag the cooling flag.
class HUDSpellButton : public HUDButton
{
public:
    // The hit box's width; its height follows the icon's aspect.
    static constexpr float kBoxWidth = 70.0f;
    static constexpr float kGrowPerSecond = 0.5f;
    static constexpr float kShrinkPerSecond = 1.0f;
    // The slot whose spell needs a tower on the map.
    static constexpr int32_t kTowerSpellSlot = LevelHud::kTowerSpellSlot;

    explicit HUDSpellButton(int32_t spellSlot);
    ~HUDSpellButton() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    bool AcceptsClick(int x, int y) override;
    // A box kBoxWidth wide centred on the button, edges inside.
    bool Contains(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    // The cooldown of the spell with the bought upgrades.
    void StartCooldown();
    // Ready again, with the flash.
    void FinishCooldown();

    bool IsCooling() const { return mPressed != 0; }
    float GetRemaining() const { return mTimer; }
    // The spell sheet's row of the slot; null when the sheet has none.
    NQSpellEntry* GetEntry() const;
    // The row's spell prototype id; -1 without a row.
    int32_t GetSpellId() const;

    // Null until the first flash, and again once it has played. Owned.
    render::ParticleEmitter* mFlash = nullptr;
    int32_t mSpellSlot = 0;

private:
    bool TowerSpellBlocked() const;
    void DrawCooling(render::Graphics* graphics, const NQSpellEntry* entry);
};
