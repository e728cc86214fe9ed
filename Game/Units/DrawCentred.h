#pragma once

namespace math
{
class Transform2D;
}
namespace render
{
class Graphics;
class Image;
} // namespace render

// Draws the picture with its centre at the point; a missing picture is skipped.
void DrawCentred(render::Graphics* graphics, render::Image* picture, float x, float y);
// Draws the picture centred under the transform, flipped left to right when mirrored.
void DrawCentred(render::Graphics* graphics, render::Image* picture, const math::Transform2D& transform,
                 bool mirrored);
