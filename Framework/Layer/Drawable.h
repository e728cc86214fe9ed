#pragma once

// What every scene node carries: its own transform, colour and opacity, and
// the cached boxes the hit test reads.
#include "Core/Base/Result.h"
#include "Core/Math/BoundingBox.h"
#include "Core/Math/Transform3D.h"
#include "Core/Math/Vector3.h"

namespace render
{
class Graphics;
}

namespace layer
{
class Drawable
{
public:
    virtual ~Drawable() = default;
    virtual HVResultEnum Draw(render::Graphics* g) = 0;
    virtual void UpdateHitRect() {}

    // Enabling (or re-enabling) marks the rectangle for a fresh computation:
    // a rectangle that was never computed must not count as valid.
    void SetHitRectEnabled(bool enabled);
    // Its source changed; the next bounds update recomputes it.
    void InvalidateHitRect() { mHitRectValid = false; }

    math::Vector3 mPosition;
    math::Vector3 mRotation; // radians; z is the 2D angle
    math::Vector3 mScale{1.0f, 1.0f, 1.0f};
    float mOpacity = 1.0f;
    bool mVisible = true;
    bool mHitEnabled = true;
    bool mTransformDirty = false;
    bool mTint = false;
    math::Point4 mColor{1.0f, 1.0f, 1.0f, 1.0f};
    float mTintAmount = 0.0f;
    bool mAdditive = false;
    math::Transform3D mWorldTransform;
    bool mHitRectEnabled = false;
    bool mHitRectValid = true;
    math::BoundingBox mHitRect;   // layer space
    math::BoundingBox mBox;       // layer space, children included
    bool mBoxValid = true;
    math::BoundingBox mParentBox; // mBox in the parent's space
};
} // namespace layer
