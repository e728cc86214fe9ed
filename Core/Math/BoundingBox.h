#pragma once

#include "Core/Math/Vector3.h"

namespace math
{
// An axis-aligned box. The empty box is inside out, so that the first merge
// or extension yields the other box or the point itself.
struct BoundingBox
{
    Vector3 mMin;
    Vector3 mMax;

    BoundingBox();
    BoundingBox(const Vector3& min, const Vector3& max) : mMin(min), mMax(max) {}

    void Merge(const BoundingBox& other);
    void Extend(const Vector3& point);
    // 0-3 on the min y face, 4-7 on the max y face, each face in the order
    // (min x, min z), (min x, max z), (max x, max z), (max x, min z);
    // any other index gives (0, 0, 0).
    Vector3 GetCorner(int index) const;
};
} // namespace math
