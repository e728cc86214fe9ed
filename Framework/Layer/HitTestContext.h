#pragma once

#include "Core/Math/Vector3.h"

namespace layer
{
class HitTestListener;
class Layer;

// One per layer visited, on the stack of the hit test.
struct HitTestContext
{
    math::Vector3* point = nullptr; // in this layer's space (the root's: in the tree's space)
    Layer* layer = nullptr;
    HitTestListener* listener = nullptr;
    HitTestContext* listenerAncestor = nullptr; // nearest ancestor context with a listener
};
} // namespace layer
