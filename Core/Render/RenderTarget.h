#pragma once

// A picture that can be drawn into, with the projection and viewport
// mapping a draw context built on it uses.
#include "Core/Math/Matrix4.h"
#include "Core/Render/Image.h"

namespace render
{
class RenderTarget : public Image
{
public:
    // Owns the texture. The projection is the identity, or an orthographic
    // projection of the texture's size when asked.
    RenderTarget(Texture* owned, bool makeProjection);

    const math::Matrix4& GetProjection() const { return mProjection; }
    float GetMapOffsetX() const { return mMapOffsetX; }
    float GetMapOffsetY() const { return mMapOffsetY; }
    float GetMapScaleX() const { return mMapScaleX; }
    float GetMapScaleY() const { return mMapScaleY; }
    // The application draws the logical plane into its target with a mapping of its own.
    void SetProjectionAndMapping(const math::Matrix4& projection, float scaleX, float scaleY, float offsetX,
                                 float offsetY)
    {
        mProjection = projection;
        mMapScaleX = scaleX;
        mMapScaleY = scaleY;
        mMapOffsetX = offsetX;
        mMapOffsetY = offsetY;
    }

private:
    math::Matrix4 mProjection{true};
    float mMapOffsetX = 0.0f;
    float mMapOffsetY = 0.0f;
    float mMapScaleX = 1.0f;
    float mMapScaleY = 1.0f;
};
} // namespace render
