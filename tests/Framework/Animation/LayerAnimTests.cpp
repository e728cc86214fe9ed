#include "Framework/Animation/LayerAnim.h"

#include "Framework/Animation/AnimLayer.h"
#include "Framework/Layer/Layer.h"

#include <gtest/gtest.h>

namespace
{
using animation::AnimLayer;
using animation::Envelope;
using animation::EnvelopeKey;
using animation::LayerAnim;

Envelope Constant(float value)
{
    Envelope envelope;
    EnvelopeKey key;
    key.value = value;
    envelope.keys = {key};
    return envelope;
}

Envelope Ramp(float from, float to)
{
    Envelope envelope;
    envelope.keys.resize(2);
    envelope.keys[0].value = from;
    envelope.keys[1] = {to, 1, animation::kShapeLinear};
    envelope.keys[0].shape = animation::kShapeLinear;
    envelope.postBehaviour = animation::kBehaviourConstant;
    return envelope;
}

// A record holding the identity pose: scales 1, everything else 0.
AnimLayer Identity()
{
    AnimLayer record(nullptr);
    for (int i = animation::kScaleX; i <= animation::kScaleZ; ++i)
        record.mMotion[i] = Constant(1);
    return record;
}

TEST(LayerAnimApply, DissolveIsClampedIntoOpacity)
{
    for (auto [dissolve, opacity] : {std::pair{1.3f, 0.0f}, {-0.5f, 1.0f}, {0.25f, 0.75f}})
    {
        AnimLayer record = Identity();
        record.mMotion[animation::kDissolve] = Constant(dissolve);
        layer::Layer target;
        LayerAnim anim(&target, &record);
        EXPECT_EQ(anim.Apply(0.5f), HV_OK);
        EXPECT_EQ(target.mOpacity, opacity) << dissolve;
        // Opacity alone never dirties the layer.
        EXPECT_FALSE(target.mTransformDirty);
        EXPECT_TRUE(target.mBoxValid);
    }
}

TEST(LayerAnimApply, OnlyAChangedTransformDirtiesTheLayer)
{
    AnimLayer record = Identity();
    layer::Layer target;
    LayerAnim anim(&target, &record);
    anim.Apply(0);
    EXPECT_FALSE(target.mTransformDirty);
    EXPECT_TRUE(target.mBoxValid);

    struct Change
    {
        int channel;
        float value;
    };
    // A change far below the setters' 2e-4 tolerance is written too.
    for (Change change : {Change{animation::kPositionX, 12.0f}, Change{animation::kPositionZ, 1e-6f},
                          Change{animation::kHeading, 0.5f}, Change{animation::kBank, -0.25f},
                          Change{animation::kScaleY, 2.0f}})
    {
        AnimLayer changed = Identity();
        changed.mMotion[change.channel] = Constant(change.value);
        layer::Layer moved;
        LayerAnim(&moved, &changed).Apply(0);
        EXPECT_TRUE(moved.mTransformDirty) << change.channel;
        EXPECT_FALSE(moved.mBoxValid) << change.channel;
    }
}

TEST(LayerAnimApply, ChannelsLandOnTheirAxes)
{
    AnimLayer record = Identity();
    const float values[] = {1, 2, 3, 0.1f, 0.2f, 0.3f, 4, 5, 6};
    for (int i = 0; i < 9; ++i)
        record.mMotion[i] = Ramp(0, values[i]);
    layer::Layer target;
    LayerAnim(&target, &record).Apply(1);
    EXPECT_EQ(target.mPosition.x, 1.0f);
    EXPECT_EQ(target.mPosition.y, 2.0f);
    EXPECT_EQ(target.mPosition.z, 3.0f);
    EXPECT_EQ(target.mRotation.y, 0.1f); // heading
    EXPECT_EQ(target.mRotation.x, 0.2f); // pitch
    EXPECT_EQ(target.mRotation.z, 0.3f); // bank
    EXPECT_EQ(target.mScale.x, 4.0f);
    EXPECT_EQ(target.mScale.y, 5.0f);
    EXPECT_EQ(target.mScale.z, 6.0f);
    LayerAnim(&target, &record).Apply(0.5f);
    EXPECT_EQ(target.mPosition.x, 0.5f);
    EXPECT_EQ(target.mScale.z, 3.0f);
}

TEST(LayerAnimApply, ColourIsClampedAndLeavesAlpha)
{
    AnimLayer record = Identity();
    record.mHasColour = 1;
    record.mColour = std::make_unique<std::array<Envelope, animation::kColourChannels>>();
    (*record.mColour)[animation::kRed] = Constant(1.7f);
    (*record.mColour)[animation::kGreen] = Constant(-2);
    (*record.mColour)[animation::kBlue] = Constant(0.4f);
    (*record.mColour)[animation::kTintAmount] = Constant(3);
    layer::Layer target;
    target.mColor.w = 0.3f;
    LayerAnim(&target, &record).Apply(0);
    EXPECT_EQ(target.mColor.x, 1.0f);
    EXPECT_EQ(target.mColor.y, 0.0f);
    EXPECT_EQ(target.mColor.z, 0.4f);
    EXPECT_EQ(target.mColor.w, 0.3f);
    EXPECT_EQ(target.mTintAmount, 1.0f);

    // Without a colour block the colour stays as it is.
    AnimLayer plain = Identity();
    layer::Layer untouched;
    untouched.mColor.y = 0.6f;
    LayerAnim(&untouched, &plain).Apply(0);
    EXPECT_EQ(untouched.mColor.y, 0.6f);
    EXPECT_EQ(untouched.mTintAmount, 0.0f);
}
} // namespace
