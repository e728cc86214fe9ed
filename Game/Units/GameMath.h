#pragma once

// Small float helpers of the gameplay.
#include "Game/Roads/CurvePoint.h"

#include <cstdint>

class NQUnitProto;

// A random point between the two radii around the centre: two draws of
// math::Random, the angle first.
CurvePoint RandomPointInRing(float centerX, float centerY, float outerRadius, float innerRadius);
// The sprites' angle origin lies 90 degrees from the maths one.
float ToSpriteAngle(float degrees);
float ClampNonNegative(float value);
float MinFloat(float a, float b);
// a + b held at the int32 limits instead of overflowing.
int32_t AddSaturated(int32_t a, int32_t b);
// The per-frame boost record of a tower (a prototype-shaped record): its
// strength, cooldown and r back to 0.
void ClearBoostValues(NQUnitProto& boost);
