#pragma once

// Thin wrappers over the runtime's float functions, so every caller rounds
// the same way; the double forms serve the number writers and rotations.
#include <cstdint>

namespace math
{
float Atan2(float y, float x);
float Ceil(float value);
float Floor(float value);
double Floor(double value);
float Cos(float radians);
float Sin(float radians);
double Cos(double radians);
double Sin(double radians);
float Abs(float value);
float Sqrt(float value);
double Log10(double value);
double Pow(double base, double exponent);

// Truncation toward zero; NaN gives 0 and values beyond the int32 range
// saturate, since converting them is undefined.
int32_t TruncateToInt32(float value);

// Moves value by step towards target; true once it is there.
bool Approach(float& value, float step, float target);
bool Approach(float* value, float step, float target);

// A repeatable value in [0, 1) for a seed; seed 0 takes the previous seed + 1.
float Random(uint32_t seed);
// a + (b - a) times the same hash, scaled by 2^-32.
float RandomRange(float a, float b, uint32_t seed);
// a + Random(0) * (b - a).
float RandomRange(float a, float b);
} // namespace math
