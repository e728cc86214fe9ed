#include "Core/Math/MathFunctions.h"

#include <cmath>
#include <cstdint>

namespace math
{
float Atan2(float y, float x) { return std::atan2(y, x); }
float Ceil(float value) { return std::ceil(value); }
float Floor(float value) { return std::floor(value); }
double Floor(double value) { return std::floor(value); }
float Cos(float radians) { return std::cos(radians); }
float Sin(float radians) { return std::sin(radians); }
double Cos(double radians) { return std::cos(radians); }
double Sin(double radians) { return std::sin(radians); }
float Abs(float value) { return std::fabs(value); }
float Sqrt(float value) { return std::sqrt(value); }
double Log10(double value) { return std::log10(value); }
double Pow(double base, double exponent) { return std::pow(base, exponent); }

int32_t TruncateToInt32(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool Approach(float& value, float step, float target)
{
    if (value == target)
        return true;
    if (std::fabs(value - target) < step)
    {
        value = target;
        return true;
    }
    if (value > target)
        value -= step;
    else
        value += step;
    return false;
}

bool Approach(float* value, float step, float target) { return Approach(*value, step, target); }

namespace
{
// One process-wide sequence; the game runs on one thread.
uint32_t gPreviousSeed = 0;

uint32_t Hash(uint32_t seed)
{
    uint32_t s = seed;
    if (s == 0)
        s = gPreviousSeed + 1;
    gPreviousSeed = s;
    uint32_t h = (s ^ 0xbc602fu) * 0x9e3779b9u;
    h ^= (h << 6) | (h >> 26);
    h *= 0x9e3779b9u;
    return h + ((h >> 12) ^ (h << 5));
}
} // namespace

float Random(uint32_t seed)
{
    const float value = static_cast<float>(static_cast<double>(Hash(seed))) * 0x1p-32f;
    // Values of the hash near 2^32 round to 1.0; callers turn the result
    // into indexes, so it stays below 1.
    return value < 1.0f ? value : std::nextafter(1.0f, 0.0f);
}

float RandomRange(float a, float b, uint32_t seed)
{
    return a + static_cast<float>(Hash(seed)) * (b - a) * 0x1p-32f;
}

float RandomRange(float a, float b) { return a + Random(0) * (b - a); }
} // namespace math
