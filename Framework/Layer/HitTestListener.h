#pragma once

// Receives the mouse events that hit its layer or a descendant without a
// listener of its own.
#include "Core/Base/Result.h"
#include "Core/Math/Vector3.h"

#include <cstdint>

namespace layer
{
class Layer;

// Outcome of a hit test, kept in the run and in each listener's state.
enum HitTestState
{
    HIT_HANDLED = 0,
    HIT_PASS_ON = 1,
    HIT_CAPTURED = 2,
};

class HitTestListener
{
public:
    virtual ~HitTestListener() = default;

    // The point is the listener's own point field, in its own layer's space.
    virtual HVResultEnum OnMouseDown(const math::Vector3& point, int button);
    virtual HVResultEnum OnMouseUp(const math::Vector3& point, int button);
    // Never raised by the hit test.
    virtual HVResultEnum OnMouseClick(const math::Vector3& point, int button);
    virtual HVResultEnum OnMouseMove(const math::Vector3& point);
    virtual HVResultEnum OnMouseDrag(const math::Vector3& point);
    virtual HVResultEnum OnMouseWheel(const math::Vector3& point, int delta);
    // Bubbled forms: events already delivered to a descendant layer.
    virtual HVResultEnum OnChildMouseDown(const math::Vector3& point, int button);
    virtual HVResultEnum OnChildMouseUp(const math::Vector3& point, int button);
    virtual HVResultEnum OnChildMouseClick(const math::Vector3& point, int button);
    virtual HVResultEnum OnChildMouseMove(const math::Vector3& point);
    virtual HVResultEnum OnChildMouseDrag(const math::Vector3& point);
    virtual HVResultEnum OnChildMouseWheel(const math::Vector3& point, int delta);

    // Written by the dispatcher right before each call.
    Layer* mHitLayer = nullptr; // the layer whose rectangle was hit
    Layer* mOwnLayer = nullptr; // the layer this listener is attached to
    math::Vector3 mPoint;       // in the own layer's space
    int mState = HIT_HANDLED;   // read back after the call
    bool mHandledBelow = false;
    // Bit 0 asks for bubbled events; stored, not acted on.
    uint32_t mOptions = 0;
};
} // namespace layer
