#include "Game/Roads/BezierCurve.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Roads/NQPathSample.h"

#include <cmath>

namespace
{
// The forward difference of the normal.
constexpr float kNormalStep = 0.01f;
// Where the difference turns backwards near the end.
constexpr float kBackwardPoint = 0.98f;
// Parameter step of the length sums.
constexpr float kLengthStep = 0.0001f;
// Far beyond any walk the sampler asks for (a whole curve is 10,000 steps).
constexpr int kMaxWalkSteps = 20000;

float Distance(const CurvePoint& a, const CurvePoint& b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return math::Sqrt(dx * dx + dy * dy);
}
} // namespace

bool IsPointCurve(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2)
{
    return p0.x == p1.x && p0.y == p1.y && p1.x == p2.x && p1.y == p2.y;
}

CurvePoint BezierPoint(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t)
{
    const float u = 1.0f - t;
    return {u * u * p0.x + 2.0f * t * u * p1.x + t * t * p2.x, u * u * p0.y + 2.0f * t * u * p1.y + t * t * p2.y};
}

CurvePoint BezierNormal(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t)
{
    if (IsPointCurve(p0, p1, p2))
        return {};
    const float at = t >= 1.0f ? 1.0f : t;
    float ahead = at + kNormalStep;
    const bool flipped = ahead >= 1.0f;
    if (flipped)
        ahead = kBackwardPoint;
    const CurvePoint a = BezierPoint(p0, p1, p2, at);
    const CurvePoint b = BezierPoint(p0, p1, p2, ahead);
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length = math::Sqrt(dx * dx + dy * dy);
    if (length == 0.0f)
        return {};
    if (flipped)
        return {dy / length, -dx / length};
    return {-dy / length, dx / length};
}

CurvePoint OffsetBezierPoint(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t,
                             float offset)
{
    const CurvePoint point = BezierPoint(p0, p1, p2, t);
    const CurvePoint normal = BezierNormal(p0, p1, p2, t);
    return {point.x + offset * normal.x, point.y + offset * normal.y};
}

float OffsetBezierLength(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float offset)
{
    CurvePoint previous = OffsetBezierPoint(p0, p1, p2, 0.0f, offset);
    float total = 0.0f;
    float t = 0.0f;
    do
    {
        const CurvePoint point = OffsetBezierPoint(p0, p1, p2, t, offset);
        total += Distance(previous, point);
        previous = point;
        t += kLengthStep;
    } while (t <= 1.0f);
    return total;
}

float OffsetBezierParamAtDistance(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float t0,
                                  float distance, float offset)
{
    CurvePoint previous = OffsetBezierPoint(p0, p1, p2, t0, offset);
    float covered = 0.0f;
    float t = t0;
    // A bad distance (NaN) or a curve that stops moving would walk forever.
    for (int step = 0; step <= kMaxWalkSteps; ++step)
    {
        const CurvePoint point = OffsetBezierPoint(p0, p1, p2, t, offset);
        covered += Distance(previous, point);
        if (distance <= covered)
            return t;
        previous = point;
        t += kLengthStep;
    }
    return t;
}

void SampleOffsetBezier(const CurvePoint& p0, const CurvePoint& p1, const CurvePoint& p2, float offset,
                        int32_t count, std::vector<NQPathSample*>& out)
{
    // A curve without length or a step of 0, below 0 or not finite never gets
    // anywhere: one sample only.
    const float step = IsPointCurve(p0, p1, p2) ? 0.0f : OffsetBezierLength(p0, p1, p2, offset) / float(count);
    const bool advances = std::isfinite(step) && step > 0.0f;
    float t = 0.0f;
    while (t <= 1.0f)
    {
        const CurvePoint normal = BezierNormal(p0, p1, p2, t);
        const CurvePoint point = BezierPoint(p0, p1, p2, t);
        NQPathSample* sample = new NQPathSample;
        sample->normalX = normal.x;
        sample->normalY = normal.y;
        sample->x = point.x + offset * normal.x;
        sample->y = point.y + offset * normal.y;
        out.push_back(sample);
        if (!advances)
            return;
        t = OffsetBezierParamAtDistance(p0, p1, p2, t, step, offset);
    }
}
