#include "Game/Roads/PathWalk.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Roads/NQPathSample.h"

namespace
{
// Half the road's layout height: the middle lane's y.
constexpr float kLaneMiddle = 65.0f;
// Sideways distance of an edge lane from the middle.
constexpr float kLaneHalfWidth = 20.0f;
} // namespace

float PointDistance(float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    return math::Sqrt(dx * dx + dy * dy);
}

float AdvancePathProgress(const std::vector<NQPathSample*>& path, float u, float distance)
{
    if (path.size() < 2)
        return 1.0f;
    const float segment = PointDistance(path[0]->x, path[0]->y, path[1]->x, path[1]->y);
    if (segment == 0.0f)
        return 1.0f;
    const float next = u + distance / segment * 1.0f / float(path.size() - 1);
    return next < 0.0f ? 0.0f : next;
}

int32_t GetLaneOffset(float y) { return math::TruncateToInt32(kLaneHalfWidth * (-y - kLaneMiddle) / kLaneMiddle); }
