#pragma once

// The draw frame shared by the image, text and particle layers: points the
// context at the layer's transform, colour, tint and blend mode for one draw
// and puts back what the layer changed.
#include "Core/Math/Vector3.h"

namespace math
{
class Transform3D;
}

namespace render
{
class Font;
class Graphics;
class ShaderTextured;
}

namespace layer
{
class Layer;

class LayerDrawScope
{
public:
    // blendMode: 1 alpha, 2 additive.
    LayerDrawScope(render::Graphics& g, Layer& layer, int blendMode, bool saveFont);
    ~LayerDrawScope();
    LayerDrawScope(const LayerDrawScope&) = delete;
    LayerDrawScope& operator=(const LayerDrawScope&) = delete;

private:
    render::Graphics& mGraphics;
    math::Transform3D* mWorld;
    float mColor[4];
    int mShaderMode;
    render::ShaderTextured* mShader;
    float mTintAmount;
    bool mTinted;
    bool mSaveFont;
    render::Font* mFont;
};
} // namespace layer
