#include "Game/Roads/NQLinkLanes.h"

#include "Game/Roads/NQPathSample.h"

#include <algorithm>

NQLinkLanes::NQLinkLanes(NQLink* link) : mLink(link) {}

NQLinkLanes::~NQLinkLanes()
{
    for (auto& [offset, samples] : mLanes)
        for (NQPathSample* sample : samples)
            delete sample;
}

void NQLinkLanes::SetLane(int32_t offset, const std::vector<NQPathSample*>& samples)
{
    std::vector<NQPathSample*>& lane = mLanes[offset];
    for (NQPathSample* old : lane)
        if (std::find(samples.begin(), samples.end(), old) == samples.end())
            delete old;
    lane = samples;
}
