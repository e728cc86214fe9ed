#pragma once

// Small float helpers of the gameplay.
#include "Game/CurvePoint.h"

// A random point between the two radii around the centre: two draws of
// math::Random, the angle first.
CurvePoint RandomPointInRing(float centerX, float centerY, float outerRadius, float innerRadius);
// The sprites' angle origin lies 90 degrees from the maths one.
float ToSpriteAngle(float degrees);
float ClampNonNegative(float value);
float MinFloat(float a, float b);
