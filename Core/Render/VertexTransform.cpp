#include "Core/Render/VertexTransform.h"

#include "Core/Math/Transform2D.h"
#include "Core/Math/Transform3D.h"
#include "Core/Render/VertexFormat.h"

#include <cmath>

namespace render
{
namespace
{
constexpr float kEpsilon = 2e-4f;

bool NearZero(float x, float y) { return std::fabs(x) <= kEpsilon && std::fabs(y) <= kEpsilon; }
bool NearZero(const math::Vector3& v) { return NearZero(v.x, v.y) && std::fabs(v.z) <= kEpsilon; }

// Calls f(position) for every vertex; the position has at least x and y.
template <class F>
void ForEachPosition(void* vertices, const VertexFormat* format, unsigned count, F f)
{
    auto* bytes = static_cast<unsigned char*>(vertices) + format->mPosition.mOffset;
    for (unsigned i = 0; i < count; ++i, bytes += format->mStride)
        f(reinterpret_cast<float*>(bytes));
}
} // namespace

void TranslatePositions2D(void* vertices, const VertexFormat* format, unsigned count, float dx, float dy)
{
    const int components = format->mPosition.mComponents;
    if (components != 3 && components != 4)
        return;
    ForEachPosition(vertices, format, count, [&](float* p) {
        p[0] += dx;
        p[1] += dy;
    });
}

void TransformPositions2D(void* vertices, const VertexFormat* format, unsigned count, math::Transform2D& t)
{
    if (format->mPosition.mComponents < 2)
        return;
    if (t.mMatrixMode || t.mRotationSet)
    {
        const float* m = t.GetMatrix();
        ForEachPosition(vertices, format, count, [&](float* p) {
            const float x = p[0], y = p[1];
            p[0] = m[0] * x + m[1] * y + m[2];
            p[1] = m[3] * x + m[4] * y + m[5];
        });
        return;
    }
    const bool translate = !NearZero(t.mTranslationX, t.mTranslationY);
    const bool post = !NearZero(t.mPostTranslationX, t.mPostTranslationY);
    ForEachPosition(vertices, format, count, [&](float* p) {
        if (translate)
        {
            p[0] += t.mTranslationX;
            p[1] += t.mTranslationY;
        }
        if (t.mScaleSet)
        {
            p[0] *= t.mScaleX;
            p[1] *= t.mScaleY;
        }
        if (post)
        {
            p[0] += t.mPostTranslationX;
            p[1] += t.mPostTranslationY;
        }
    });
}

void ApplyTransform3D(void* vertices, const VertexFormat* format, unsigned count, math::Transform3D* t)
{
    const int components = format->mPosition.mComponents;
    if (!t || components < 2)
        return;
    // A 2-component position lies in the plane z = 0.
    auto read = [&](const float* p) { return math::Vector3(p[0], p[1], components >= 3 ? p[2] : 0.0f); };
    auto write = [&](float* p, const math::Vector3& v) {
        p[0] = v.x;
        p[1] = v.y;
        if (components >= 3)
            p[2] = v.z;
    };
    if (t->mMatrixMode || t->mRotationSet)
    {
        const math::Matrix4& m = t->GetMatrix();
        ForEachPosition(vertices, format, count, [&](float* p) {
            math::Vector3 v = read(p);
            m.TransformPointInPlace(v);
            write(p, v);
        });
        return;
    }
    const bool translate = !NearZero(t->mTranslation);
    const bool post = !NearZero(t->mPostTranslation);
    ForEachPosition(vertices, format, count, [&](float* p) {
        math::Vector3 v = read(p);
        if (translate)
            v += t->mTranslation;
        if (t->mScaleSet)
            v = math::Vector3(v.x * t->mScale.x, v.y * t->mScale.y, v.z * t->mScale.z);
        if (post)
            v += t->mPostTranslation;
        write(p, v);
    });
}

void ApplyHalfPixel(void* vertices, const VertexFormat* format, unsigned count)
{
    const int components = format->mPosition.mComponents;
    if (components < 2)
        return;
    ForEachPosition(vertices, format, count, [&](float* p) {
        p[0] -= 0.5f;
        p[1] -= 0.5f;
        if (components >= 3)
            p[2] = 0.0f;
    });
}
} // namespace render
