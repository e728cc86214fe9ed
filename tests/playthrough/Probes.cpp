#include "Probes.h"

#include <cmath>

namespace playthrough
{
namespace
{
bool FullyOpaque(const Picture& picture, int x, int y)
{
    if (x < 0 || y < 0 || x + kProbeSize > int(picture.width) || y + kProbeSize > int(picture.height))
        return false;
    for (int py = y; py < y + kProbeSize; ++py)
        for (int px = x; px < x + kProbeSize; ++px)
            if ((picture.At(uint32_t(px), uint32_t(py)) >> 24) != 0xFF)
                return false;
    return true;
}

bool FarFromAll(const Rect& square, const std::vector<Point>& points, float distance)
{
    const float cx = square.x + square.width / 2.0f, cy = square.y + square.height / 2.0f;
    for (const Point& point : points)
        if (std::hypot(point.x - cx, point.y - cy) < distance)
            return false;
    return true;
}
} // namespace

std::vector<Probe> SelectProbes(const ProbeSource& source)
{
    std::vector<Probe> candidates;
    if (!source.picture || source.picture->Empty() || source.placed.width <= 0.0f || source.placed.height <= 0.0f)
        return candidates;
    const Picture& picture = *source.picture;
    const float scaleX = source.placed.width / float(picture.width);
    const float scaleY = source.placed.height / float(picture.height);
    for (int y = 0; y + kProbeSize <= int(picture.height); y += kProbeSize)
        for (int x = 0; x + kProbeSize <= int(picture.width); x += kProbeSize)
        {
            const Rect square{source.placed.x + float(x) * scaleX, source.placed.y + float(y) * scaleY,
                              float(kProbeSize) * scaleX, float(kProbeSize) * scaleY};
            if (!FullyOpaque(picture, x, y))
                continue;
            bool covered = false;
            for (const Rect& cover : source.covers)
                covered = covered || cover.Intersects(square);
            if (covered || !FarFromAll(square, source.keepAway, source.keepAwayDistance))
                continue;
            candidates.push_back({{square.x, square.y}, MeanOf(picture, x, y, kProbeSize)});
        }
    if (int(candidates.size()) <= kMaxProbes)
        return candidates;
    // Spread over the picture: evenly spaced among the candidates in reading order.
    std::vector<Probe> chosen;
    for (int i = 0; i < kMaxProbes; ++i)
        chosen.push_back(candidates[size_t(i) * (candidates.size() - 1) / (kMaxProbes - 1)]);
    return chosen;
}

int MatchingProbes(const Picture& screenshot, const DisplayMapping& mapping, const std::vector<Probe>& probes)
{
    int matching = 0;
    for (const Probe& probe : probes)
    {
        const Point corner = ToWindow(mapping, probe.logical);
        const MeanColor seen =
            MeanOf(screenshot, int(std::lround(corner.x)), int(std::lround(corner.y)), kProbeSize);
        if (std::fabs(seen.r - probe.expected.r) <= kProbeTolerance &&
            std::fabs(seen.g - probe.expected.g) <= kProbeTolerance &&
            std::fabs(seen.b - probe.expected.b) <= kProbeTolerance)
            ++matching;
    }
    return matching;
}
} // namespace playthrough
