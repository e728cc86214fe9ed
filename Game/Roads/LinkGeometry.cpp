#include "Game/Roads/LinkGeometry.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Data/FindById.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQPoint.h"

namespace
{
constexpr float kNormalStep = 0.01f;
} // namespace

bool GetLinkCurve(const std::vector<NQPoint*>& points, const NQLink* link, CurvePoint& start, CurvePoint& anchor,
                  CurvePoint& end)
{
    if (!link)
        return false;
    const NQPoint* from = FindById(points, link->mSid);
    const NQPoint* to = FindById(points, link->mEid);
    if (!from || !to)
        return false;
    start = {from->mX, from->mY};
    anchor = {link->mAnchorX, link->mAnchorY};
    end = {to->mX, to->mY};
    return true;
}

CurvePoint GetLinkNormal(const std::vector<NQPoint*>& points, const NQLink* link, float t)
{
    CurvePoint start, anchor, end;
    if (!GetLinkCurve(points, link, start, anchor, end) || IsPointCurve(start, anchor, end))
        return {};
    const float at = t > 1.0f ? 1.0f : t;
    const CurvePoint p = BezierPoint(start, anchor, end, at);
    const CurvePoint q = BezierPoint(start, anchor, end, at + kNormalStep);
    const float dx = q.x - p.x;
    const float dy = q.y - p.y;
    const float length = math::Sqrt(dx * dx + dy * dy);
    if (length == 0.0f)
        return {};
    return {-dy / length, dx / length};
}
