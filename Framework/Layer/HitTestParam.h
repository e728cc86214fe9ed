#pragma once

#include "Core/Math/Vector3.h"

namespace layer
{
class HitTestListener;
class Layer;

// One delivery, handed to the event's dispatch delegate.
struct HitTestParam
{
    Layer* hitLayer = nullptr;
    math::Vector3 hitPoint;      // in the hit layer's space
    Layer* listenerLayer = nullptr;
    math::Vector3 listenerPoint; // in the listener layer's space
    HitTestListener* listener = nullptr;
    int state = 0;
    bool bubbled = false;
    bool handledBelow = false;
};
} // namespace layer
