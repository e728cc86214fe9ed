#pragma once

// A road link as a quadratic curve from its start point through its anchor to
// its end point. Points are looked up by id, first match, at every call.
#include "Game/Roads/CurvePoint.h"

#include <vector>

class NQLink;
class NQPoint;

// False for no link or a link that names a missing point (such a link has no
// length and no normal).
bool GetLinkCurve(const std::vector<NQPoint*>& points, const NQLink* link, CurvePoint& start, CurvePoint& anchor,
                  CurvePoint& end);
// The unit normal (-dy, dx) of the curve at t (t clamped to at most 1, the
// difference taken forward to t + 0.01 even past the end); (0, 0) where the
// curve does not move.
CurvePoint GetLinkNormal(const std::vector<NQPoint*>& points, const NQLink* link, float t);
