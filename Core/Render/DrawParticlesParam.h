#pragma once

// The particles draw body: an emitter's current particles, through the
// record's transform.
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/GraphicsFriend.h"

namespace math
{
struct BoundingBox;
}

namespace render
{
class ParticleEmitter;

class DrawParticlesParam : public GraphicsFriend
{
public:
    // No outputs. A null emitter draws nothing and reports 0 particles.
    DrawParticlesParam(Graphics* context, ParticleEmitter* emitter);
    // The copy stays bound to the same context (the default copy does that).

    int Draw(DrawParam* transform);

    ParticleEmitter* mEmitter;
    int* mCountOut = nullptr;
    // The particle vertices' bounds before the record's transform...
    math::BoundingBox* mLocalBoxOut = nullptr;
    // ...and after it, before the world transform.
    math::BoundingBox* mTransformedBoxOut = nullptr;
};

template <>
class DrawParamInterface<TagUntransformed, DrawParticlesParam>
{
public:
    DrawTransform2DParam<DrawParticlesParam> Transform(const math::Transform2D& transform);
};
} // namespace render
