#include "Framework/Layer/LayerDrawScope.h"

#include "Core/Render/Graphics.h"
#include "Framework/Layer/Layer.h"

namespace layer
{
LayerDrawScope::LayerDrawScope(render::Graphics& g, Layer& layer, int blendMode, bool saveFont)
    : mGraphics(g)
    , mWorld(g.mWorldTransform)
    , mColor{g.mColor[0], g.mColor[1], g.mColor[2], g.mColor[3]}
    , mShaderMode(g.mTexturedShaderMode)
    , mShader(g.mTexturedShader)
    , mTintAmount(g.mTint)
    , mTinted(layer.mTint)
    , mSaveFont(saveFont)
    , mFont(g.mFont)
{
    g.mWorldTransform = &layer.mWorldTransform;
    g.SetShaderMode(mTinted ? 2 : 1);
    g.SetColor(layer.mColor.x, layer.mColor.y, layer.mColor.z, layer.mEffectiveOpacity);
    if (mTinted)
        g.mTint = layer.mTintAmount;
    g.SetBlendMode(blendMode);
}

LayerDrawScope::~LayerDrawScope()
{
    render::Graphics& g = mGraphics;
    g.SetShaderMode(mShaderMode);
    // Mode 0 is a shader of the caller's own, which the mode switch cannot bring back.
    if (mShaderMode == 0)
        g.SetShader(mShader);
    if (mTinted)
        g.mTint = mTintAmount;
    g.SetColor(mColor);
    g.mWorldTransform = mWorld;
    if (mSaveFont)
        g.mFont = mFont;
}
} // namespace layer
