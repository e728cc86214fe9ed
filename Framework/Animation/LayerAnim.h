#pragma once

// Plays one animated record of an animation on a scene layer.
#include "Framework/Animation/Anim.h"

namespace layer
{
class Layer;
}

namespace animation
{
class AnimLayer;

class LayerAnim : public Anim
{
public:
    // Neither is owned.
    LayerAnim(layer::Layer* target, const AnimLayer* record) : mTarget(target), mRecord(record) {}

    // Writes the record's values at that time into the layer; returns 0.
    HVResultEnum Apply(float time) override;

    layer::Layer* mTarget;
    const AnimLayer* mRecord;
};
} // namespace animation
