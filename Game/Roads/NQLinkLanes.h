#pragma once

// The lane paths of one road link: per lane offset the road sampled from the
// link's start point to its end point. Owns every sample it holds.
#include <cstdint>
#include <map>
#include <vector>

class NQLink;
struct NQPathSample;

class NQLinkLanes
{
public:
    explicit NQLinkLanes(NQLink* link);
    NQLinkLanes(const NQLinkLanes&) = delete;
    NQLinkLanes& operator=(const NQLinkLanes&) = delete;
    ~NQLinkLanes();

    // Stores the samples under the offset; the samples of a list it replaces
    // are deleted, except those that are stored again.
    void SetLane(int32_t offset, const std::vector<NQPathSample*>& samples);

    NQLink* mLink;
    std::map<int32_t, std::vector<NQPathSample*>> mLanes;
    // Filled only by the path cache; nothing reads them.
    std::map<int32_t, float> mNumbers;
};
