#include "Game/Units/GameMath.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Data/NQUnitProto.h"

#include <cstdint>
#include <limits>

namespace
{
constexpr float kPi = 3.1415927f;
constexpr float kFullTurn = 360.0f;
constexpr float kHalfTurn = 180.0f;
constexpr float kQuarterTurn = 90.0f;
constexpr float kThreeQuarterTurn = 270.0f;
} // namespace

CurvePoint RandomPointInRing(float centerX, float centerY, float outerRadius, float innerRadius)
{
    const float angle = math::Random(0) * kFullTurn * kPi / kHalfTurn;
    const float radius = innerRadius + math::Random(0) * (outerRadius - innerRadius);
    return {centerX + math::Cos(angle) * radius, centerY + math::Sin(angle) * radius};
}

float ToSpriteAngle(float degrees)
{
    return degrees >= kQuarterTurn ? degrees - kQuarterTurn : degrees + kThreeQuarterTurn;
}

float ClampNonNegative(float value) { return value < 0.0f ? 0.0f : value; }

float MinFloat(float a, float b) { return a > b ? b : a; }

int32_t AddSaturated(int32_t a, int32_t b)
{
    const int64_t sum = int64_t(a) + b;
    if (sum > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return int32_t(sum);
}

void ClearBoostValues(NQUnitProto& boost)
{
    boost.strength = 0.0f;
    boost.cooldown = 0.0f;
    boost.r = 0.0f;
}
