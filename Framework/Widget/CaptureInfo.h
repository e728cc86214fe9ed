#pragma once

#include "Core/Math/Vector3.h"

#include <cstdint>

namespace layer
{
class Layer;
}

namespace widget
{
class Widget;

// The pointer capture held by the frame manager. Active while mWidget is set.
struct CaptureInfo
{
    Widget* mWidget = nullptr;
    layer::Layer* mLayer = nullptr;
    // Where the press hit, in the listener's layer space.
    math::Vector3 mPoint;
    // 1: points given to the captured widget are in the parent space of the
    // captured layer; 0: in the layer's own space.
    uint8_t mInParentSpace = 1;

    void Set(Widget* widget, layer::Layer* layer, const math::Vector3& point, bool inParentSpace);
    // A point of the frames' root space, in the space the captured widget expects.
    math::Vector3 ToCaptureSpace(const math::Vector3& point) const;
};
} // namespace widget
