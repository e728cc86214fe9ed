#pragma once

#include "Core/Base/DelegateHandle.h"
#include "Core/Math/Vector3.h"
#include "Framework/Layer/HitTestListener.h"

namespace layer
{
class Layer;

// One hit test of event kind E, made by whoever starts it.
template <class E>
struct HitTestRun
{
    const E* event = nullptr;
    base::DelegateHandle* handle = nullptr; // the event's dispatch handle
    int state = HIT_PASS_ON;
    // A copy: the point of the layer that took the hit lives in its test's frame.
    math::Vector3 hitPoint;
    Layer* hitLayer = nullptr;
    Layer* capturingLayer = nullptr;
};
} // namespace layer
