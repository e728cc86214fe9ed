#include "Core/Render/DrawParticlesParam.h"

#include "Core/Math/BoundingBox.h"
#include "Core/Render/ParticleEmitter.h"

namespace render
{
DrawParticlesParam::DrawParticlesParam(Graphics* context, ParticleEmitter* emitter)
    : GraphicsFriend(context)
    , mEmitter(emitter)
{
}

int DrawParticlesParam::Draw(DrawParam* transform)
{
    ParticleDrawOutput out;
    out.localBox = mLocalBoxOut;
    out.transformedBox = mTransformedBoxOut;
    // Callers hold emitters that may be missing: nothing to draw then.
    if (!mEmitter)
    {
        if (mLocalBoxOut)
            *mLocalBoxOut = math::BoundingBox();
        if (mTransformedBoxOut)
            *mTransformedBoxOut = math::BoundingBox();
    }
    else if (const int result = mEmitter->Draw(mContext, transform, out); result != 0)
        return result;
    if (mCountOut)
        *mCountOut = out.count;
    return 0;
}

DrawTransform2DParam<DrawParticlesParam>
DrawParamInterface<TagUntransformed, DrawParticlesParam>::Transform(const math::Transform2D& transform)
{
    auto& self = static_cast<DrawUntransformedParam<DrawParticlesParam>&>(*this);
    return ConvertRecord<DrawTransform2DParam<DrawParticlesParam>>(self, transform);
}
} // namespace render
