#pragma once

// A spell cast at a point: its lasting effects go to the map at the cast;
// the spell itself is an area that hits each enemy once while it lasts.
#include "Game/Units/NQBullet.h"

class NQSpell : public NQBullet
{
public:
    // Sprites with no usable rate play at the sprite's own rate.
    static constexpr float kDefaultSpriteRate = 20.0f;
    static constexpr float kSecondSpriteDelay = 0.5f;
    static constexpr float kThirdSpriteDelay = 0.75f;
    static constexpr float kSpriteRingInner = 25.0f;
    static constexpr float kSpriteRingOuter = 50.0f;

    // At (x, y); no tower, target, emitter or lobbed animation.
    NQSpell(int32_t spellId, float x, float y);

    // Nothing without a spell prototype.
    void Cast();
    // Ends at once without a spell prototype.
    void Update(float dt) override;

    int32_t mSpellId = 0;
};
