#include "Core/Math/BoundingBox.h"

#include <algorithm>
#include <cfloat>

namespace math
{
BoundingBox::BoundingBox() : mMin(FLT_MAX, FLT_MAX, FLT_MAX), mMax(-FLT_MAX, -FLT_MAX, -FLT_MAX) {}

void BoundingBox::Merge(const BoundingBox& other)
{
    mMin = Vector3(std::min(mMin.x, other.mMin.x), std::min(mMin.y, other.mMin.y), std::min(mMin.z, other.mMin.z));
    mMax = Vector3(std::max(mMax.x, other.mMax.x), std::max(mMax.y, other.mMax.y), std::max(mMax.z, other.mMax.z));
}

void BoundingBox::Extend(const Vector3& point) { Merge(BoundingBox(point, point)); }

Vector3 BoundingBox::GetCorner(int index) const
{
    if (index < 0 || index > 7)
        return Vector3();
    const float y = index < 4 ? mMin.y : mMax.y;
    switch (index % 4)
    {
    case 0: return Vector3(mMin.x, y, mMin.z);
    case 1: return Vector3(mMin.x, y, mMax.z);
    case 2: return Vector3(mMax.x, y, mMax.z);
    default: return Vector3(mMax.x, y, mMin.z);
    }
}
} // namespace math
