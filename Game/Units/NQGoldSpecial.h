#pragma once

// A special that flies on an arc, shows a picture with a shadow and flies
// to the counter once collected.
#include "Game/Units/NQTowerSpecial.h"

namespace render
{
class Image;
}

class NQFrameEntry;
class NQSpriteAnimation;

class NQGoldSpecial : public NQTowerSpecial
{
public:
    // Where a collected special flies to.
    static constexpr float kCounterX = 150.0f;
    static constexpr float kCounterY = 50.0f;
    // The flight to the counter is five times faster.
    static constexpr float kCollectedRate = 5.0f;

    NQGoldSpecial() = default;
    ~NQGoldSpecial() override;

    void Update(float dt) override;
    void Draw(render::Graphics* graphics) override;
    void SetState(int32_t state) override;
    // The point of the flight now, stored as the current position.
    void UpdatePosition();

    // Owned.
    NQSpriteAnimation* mAnimation = nullptr;
    // A frame of a cached sprite set, not owned.
    NQFrameEntry* mShadow = nullptr;
    float mStartX = 0.0f;
    float mStartY = 0.0f;
    float mTargetX = 0.0f;
    float mTargetY = 0.0f;
    float mControlX = 0.0f;
    float mControlY = 0.0f;
};
