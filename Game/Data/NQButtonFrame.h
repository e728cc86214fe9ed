#pragma once

// A frame entry that grows a little while the pointer is over it.
#include "Game/Data/NQFrameEntry.h"

class NQButtonFrame : public NQFrameEntry
{
public:
    static constexpr float kMaxHoverScale = 1.1f;
    static constexpr float kGrowPerSecond = 0.5f;
    static constexpr float kShrinkPerSecond = 1.0f;

    NQButtonFrame() = default;

    // Centred on H + (R - H) * windowScale, H half the level's view size and
    // R the rectangle's centre; sized by hover scale * windowScale.
    void Draw(render::Graphics* graphics, float windowScale) override;
    // Hovered strictly inside the rectangle.
    void HitTest(int x, int y) override;
    void Update(float dt) override;

    float mHoverScale = 1.0f;
    int mHovered = 0;
};
