#pragma once

// Walking a lane path: progress u runs from 0 at the first sample to 1 at the
// last; the samples are equally spaced.
#include <cstdint>
#include <vector>

struct NQPathSample;

float PointDistance(float x1, float y1, float x2, float y2);

// u + distance measured in sample steps; never below 0, not clamped above
// (u >= 1 ends the link). A path of fewer than two samples, or whose first
// step has no length, gives 1, so the walker moves on to the next link.
float AdvancePathProgress(const std::vector<NQPathSample*>& path, float u, float distance);

// The lane of a wave entry's layout y: -65 is the road's middle (0), 0 and
// -130 its edges (-20 and 20). Route building and the enemy walk both use it,
// so they name the same lanes.
int32_t GetLaneOffset(float y);
