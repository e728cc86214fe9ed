#pragma once

// A hit listener that swallows every pointer event hitting its layer for its
// owner widget: presses activate the owner's frame, moves clear its hover.
#include "Framework/Layer/HitTestListener.h"

namespace layer
{
class Layer;
}

namespace widget
{
class Widget;

class TrapHitTestListener : public layer::HitTestListener
{
public:
    explicit TrapHitTestListener(Widget* owner) : mOwner(owner) {}

    HVResultEnum OnMouseDown(const math::Vector3& point, int button) override;
    HVResultEnum OnMouseClick(const math::Vector3& point, int button) override;
    HVResultEnum OnMouseMove(const math::Vector3& point) override;
    HVResultEnum OnMouseDrag(const math::Vector3& point) override;
    // Kept from the design; nothing calls it.
    virtual HVResultEnum Reserved(layer::Layer* layer, const math::Vector3& point, int value);

    Widget* mOwner;

private:
    HVResultEnum ActivateFrame();
    HVResultEnum ClearHover();
};
} // namespace widget
