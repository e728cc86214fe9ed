#pragma once

// Draws nothing; catches the pointer inside its rectangle.
#include "Framework/Layer/Layer.h"

namespace layer
{
class RectHitLayer : public Layer
{
public:
    RectHitLayer();
    RectHitLayer(float x, float y, float width, float height);

    // A new rectangle is measured again at the next bounds update.
    void SetRect(float x, float y, float width, float height);

    void UpdateHitRect() override;
    bool HitTestPoint(const math::Vector3& point) override;

    float mX = 0.0f;
    float mY = 0.0f;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
};
} // namespace layer
