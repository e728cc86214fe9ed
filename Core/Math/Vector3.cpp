#include "Core/Math/Vector3.h"

#include <cmath>

namespace math
{
namespace
{
const float kTolerance = 2e-4f;
}

bool Vector3::operator==(const Vector3& other) const
{
    return std::fabs(x - other.x) <= kTolerance && std::fabs(y - other.y) <= kTolerance &&
           std::fabs(z - other.z) <= kTolerance;
}

bool Vector3::operator!=(const Vector3& other) const { return !(*this == other); }

void Point4::Modulate(const Point4& a, const Point4& b)
{
    x = a.x * b.x;
    y = a.y * b.y;
    z = a.z * b.z;
    w = a.w * b.w;
}
} // namespace math
