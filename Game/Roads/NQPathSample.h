#pragma once

// One sample of a lane path: the road's unit normal and the point moved
// sideways along it. Extra is carried only by the path cache.
struct NQPathSample
{
    float normalX = 0.0f;
    float normalY = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float extra = 0.0f;
};
