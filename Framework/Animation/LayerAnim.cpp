#include "Framework/Animation/LayerAnim.h"

#include "Framework/Animation/AnimLayer.h"
#include "Framework/Layer/Layer.h"

#include <algorithm>

namespace animation
{
namespace
{
float Clamp01(float value) { return std::clamp(value, 0.0f, 1.0f); }

// Exact comparison: an animation must reach its end pose exactly, which the
// setters' 2e-4 tolerance would not let through.
void Write(layer::Layer& layer, math::Vector3& field, const math::Vector3& value)
{
    if (value.x != field.x || value.y != field.y || value.z != field.z)
    {
        field = value;
        layer.MarkTransformChanged();
    }
}
} // namespace

HVResultEnum LayerAnim::Apply(float time)
{
    const auto& motion = mRecord->mMotion;
    float v[kMotionChannels];
    for (int i = 0; i < kMotionChannels; ++i)
        v[i] = Envelope::Evaluate(motion[i], time);

    layer::Layer& target = *mTarget;
    Write(target, target.mPosition, math::Vector3(v[kPositionX], v[kPositionY], v[kPositionZ]));
    // Heading turns about y, pitch about x, bank about z.
    Write(target, target.mRotation, math::Vector3(v[kPitch], v[kHeading], v[kBank]));
    Write(target, target.mScale, math::Vector3(v[kScaleX], v[kScaleY], v[kScaleZ]));
    target.mOpacity = 1.0f - Clamp01(v[kDissolve]);

    if (mRecord->mColour)
    {
        const auto& colour = *mRecord->mColour;
        target.mColor.x = Clamp01(Envelope::Evaluate(colour[kRed], time));
        target.mColor.y = Clamp01(Envelope::Evaluate(colour[kGreen], time));
        target.mColor.z = Clamp01(Envelope::Evaluate(colour[kBlue], time));
        target.mTintAmount = Clamp01(Envelope::Evaluate(colour[kTintAmount], time));
    }
    return HV_OK;
}
} // namespace animation
