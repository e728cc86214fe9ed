#pragma once

// A point or direction on the level's plane (map units).
struct CurvePoint
{
    float x = 0.0f;
    float y = 0.0f;
};
