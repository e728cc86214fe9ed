// Curve arithmetic on the level's road links and lane paths.
#include "Core/Math/MathFunctions.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/LinkGeometry.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/PathWalk.h"

#include <cmath>

namespace
{
// Chords of the link length.
constexpr int kLengthChords = 10;
// Parameter step of AdvanceOnLink.
constexpr float kWalkStep = 0.001f;
} // namespace

float NQMap::GetLinkLength(const NQLink* link) const
{
    CurvePoint start, anchor, end;
    if (!GetLinkCurve(*mPoints, link, start, anchor, end) || IsPointCurve(start, anchor, end))
        return 0.0f;
    float length = 0.0f;
    CurvePoint previous = start;
    for (int i = 1; i <= kLengthChords; ++i)
    {
        const CurvePoint point = BezierPoint(start, anchor, end, float(i) / float(kLengthChords));
        length += PointDistance(previous.x, previous.y, point.x, point.y);
        previous = point;
    }
    return length;
}

CurvePoint NQMap::GetWalkingPoint(const NQLink* link, float s, float offset) const
{
    CurvePoint start, anchor, end;
    GetLinkCurve(*mPoints, link, start, anchor, end);
    const CurvePoint point = BezierPoint(start, anchor, end, s);
    const CurvePoint normal = GetLinkNormal(*mPoints, link, s);
    return {point.x + offset * normal.x, point.y + offset * normal.y};
}

float NQMap::AdvanceOnLink(const NQLink* link, float t, float distance, float offset) const
{
    if (distance <= 0.0f)
        return t;
    CurvePoint start, anchor, end;
    // A link to a missing point has no length: its walk is over at once.
    if (!GetLinkCurve(*mPoints, link, start, anchor, end) || std::isnan(t))
        return 1.0f;
    float s = t;
    CurvePoint previous = GetWalkingPoint(link, s, offset);
    float walked = 0.0f;
    for (;;)
    {
        const float next = s + kWalkStep;
        // A step too small to change s would never get past the end.
        if (next > 1.0f || next == s)
            return 1.0f;
        s = next;
        const CurvePoint point = GetWalkingPoint(link, s, offset);
        walked += PointDistance(previous.x, previous.y, point.x, point.y);
        previous = point;
        if (walked >= distance)
            return s;
    }
}

CurvePoint NQMap::GetPathPoint(const std::vector<NQPathSample*>& path, float u)
{
    if (path.empty())
        return {};
    const int32_t last = int32_t(path.size()) - 1;
    const float scaled = float(last) * u;
    // Before the start (or NaN) is the first sample, past the end the last.
    if (!(scaled >= 0.0f))
        return {path.front()->x, path.front()->y};
    const int32_t i = math::TruncateToInt32(math::Floor(scaled));
    if (i >= last)
        return {path.back()->x, path.back()->y};
    const float f = scaled - float(i);
    const NQPathSample* a = path[size_t(i)];
    const NQPathSample* b = path[size_t(i) + 1];
    return {a->x + f * (b->x - a->x), a->y + f * (b->y - a->y)};
}
