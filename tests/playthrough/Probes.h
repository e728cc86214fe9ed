#pragma once

// Probes: small squares of a content picture whose colour a screenshot must
// show where the layout puts the picture.
#include "Mapping.h"
#include "Picture.h"

#include <vector>

namespace playthrough
{
struct Rect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    bool Intersects(const Rect& other) const
    {
        return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
               other.y < y + height;
    }
};

struct ProbeSource
{
    // Where the layout draws the picture, in logical units.
    Rect placed;
    const Picture* picture = nullptr;
    // Everything drawn over it: later layers, text slots, buttons, windows.
    std::vector<Rect> covers;
    // On the map: road samples, spots, towers and enemies, kept away from.
    std::vector<Point> keepAway;
    float keepAwayDistance = 0.0f;
};

struct Probe
{
    Point logical; // top-left corner of the square
    MeanColor expected;
};

constexpr int kProbeSize = 16;
constexpr int kMaxProbes = 4;
constexpr float kProbeTolerance = 12.0f;

// Up to kMaxProbes squares where the picture is fully opaque and nothing is
// drawn over it, spread over the picture.
std::vector<Probe> SelectProbes(const ProbeSource& source);

// How many probes the screenshot shows within the tolerance on every channel.
int MatchingProbes(const Picture& screenshot, const DisplayMapping& mapping, const std::vector<Probe>& probes);
} // namespace playthrough
