#pragma once

// Passes over the position element of vertices laid out as a format: the
// moves of the draw records, the world transform and the half-pixel offset.
namespace math
{
class Transform2D;
class Transform3D;
} // namespace math

namespace render
{
class VertexFormat;

// Adds (dx, dy) to 3- and 4-component positions; other positions stay.
void TranslatePositions2D(void* vertices, const VertexFormat* format, unsigned count, float dx, float dy);
// Moves x and y only; parts within 2e-4 of zero are skipped.
void TransformPositions2D(void* vertices, const VertexFormat* format, unsigned count, math::Transform2D& transform);
// Nothing without a transform; a rotated or matrix-mode transform goes
// through its matrix, otherwise translation, scale and post-translation.
void ApplyTransform3D(void* vertices, const VertexFormat* format, unsigned count, math::Transform3D* transform);
// Direct3D 9 pixel centres: x and y minus 0.5, and z dropped to 0.
void ApplyHalfPixel(void* vertices, const VertexFormat* format, unsigned count);
} // namespace render
