#pragma once

// Quadratic Bezier curves P0 -> P1 -> P2 and the same curves moved sideways
// by an offset along their normal. All arithmetic stays in float: sample
// counts depend on it.
#include "Game/Roads/CurvePoint.h"

#include <cstdint>
#include <vector>

struct NQPathSample;

// All three points in one: B(t) rounds to points beside it, but the curve
// has no length and no direction.
bool IsPointCurve(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2);
// B(t) for any t.
CurvePoint BezierPoint(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t);
// The unit normal at t (t clamped to at most 1); near the end the difference
// is taken backwards and flipped, so it stays on the same side. (0, 0) where
// the curve does not move.
CurvePoint BezierNormal(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t);
// B(t) + offset x BezierNormal(t).
CurvePoint OffsetBezierPoint(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t,
                             float offset);
float OffsetBezierLength(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float offset);
// The parameter at which the moved curve, walked from t0, has covered the
// distance; gives up after a bounded number of steps with the t reached.
float OffsetBezierParamAtDistance(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t0,
                                  float distance, float offset);
// Appends samples about length / count apart along the moved curve, from its
// start to its end; the caller owns them. A curve without length, a count
// below 1 or non-finite input gives the first sample only.
void SampleOffsetBezier(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float offset,
                        int32_t count, std::vector<NQPathSample*>& out);
