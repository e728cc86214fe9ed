// The road graph of the level object: neighbours, weights, routes and the
// lane-path table.
#include "Core/Base/DeleteAll.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/DijkstraSearch.h"
#include "Game/Roads/LinkGeometry.h"
#include "Game/Roads/MapExtractor.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Roads/PathWalk.h"

namespace
{
// Samples per link: about 21 points from its start to its end.
constexpr int32_t kLaneSteps = 20;

bool IsMarked(NQPoint* point, const char* name) { return point->mParams->GetFloat(name) == 1.0f; }
} // namespace

std::vector<NQPoint*> NQMap::GetNeighbours(const NQPoint* point) const
{
    std::vector<NQPoint*> neighbours;
    for (const NQLink* link : *mLinks)
    {
        int32_t id;
        if (link->mEid == point->mId)
            id = link->mSid;
        else if (link->mSid == point->mId)
            id = link->mEid;
        else
            continue;
        // A link to a point that does not exist joins nothing.
        NQPoint* candidate = FindById(*mPoints, id);
        if (!candidate || FindById(neighbours, id))
            continue;
        neighbours.push_back(candidate);
    }
    return neighbours;
}

float NQMap::GetLinkWeight(const NQPoint* a, const NQPoint* b) const
{
    for (const NQLink* link : *mLinks)
    {
        if ((link->mSid == a->mId && link->mEid == b->mId) || (link->mSid == b->mId && link->mEid == a->mId))
            return PointDistance(a->mX, a->mY, b->mX, b->mY);
    }
    return -1.0f;
}

std::vector<int32_t> NQMap::FindRoute(const NQPoint* start, const NQPoint* goal)
{
    MapExtractor* extractor = new MapExtractor;
    extractor->Extract(this);
    DijkstraSearch search(extractor, this);
    return search.FindPath(start, goal);
}

std::vector<int32_t> NQMap::FindWaveRoute(NQWaveProto* wave, const NQPoint* start, const NQPoint* goal)
{
    if (!wave)
        return FindRoute(start, goal);
    const auto found = wave->mRoutes.find(start->mId);
    if (found != wave->mRoutes.end())
        return found->second;
    return wave->mRoutes[start->mId] = FindRoute(start, goal);
}

NQPoint* NQMap::FindGoalPoint() const
{
    for (NQPoint* point : *mPoints)
        if (IsMarked(point, "goal"))
            return point;
    return nullptr;
}

NQPoint* NQMap::FindSpawnPoint() const
{
    for (NQPoint* point : *mPoints)
        if (IsMarked(point, "spawn"))
            return point;
    return nullptr;
}

NQLink* NQMap::FindLink(const NQPoint* a, const NQPoint* b) const
{
    for (NQLink* link : *mLinks)
    {
        if ((link->mSid == a->mId && link->mEid == b->mId) || (link->mSid == b->mId && link->mEid == a->mId))
            return link;
    }
    return nullptr;
}

bool NQMap::FindStoredLanePath(const NQLink* link, int32_t offset, std::vector<NQPathSample*>& out) const
{
    for (const NQLinkLanes* entry : *mLanePaths)
    {
        if (entry->mLink != link)
            continue;
        const auto lane = entry->mLanes.find(offset);
        if (lane == entry->mLanes.end())
            return false;
        out = lane->second;
        return true;
    }
    return false;
}

bool NQMap::SampleLanePath(NQLink* link, int32_t offset, std::vector<NQPathSample*>& out)
{
    CurvePoint start, anchor, end;
    if (!GetLinkCurve(*mPoints, link, start, anchor, end))
        return false;
    std::vector<NQPathSample*> samples;
    SampleOffsetBezier(start, anchor, end, float(offset), kLaneSteps, samples);
    StoreLanePath(link, offset, samples);
    out = samples;
    return true;
}

bool NQMap::FindLanePath(NQLink* link, int32_t offset, std::vector<NQPathSample*>& out)
{
    if (FindStoredLanePath(link, offset, out))
        return true;
    // Walkers can ask for lanes no route building stored (spawn -1, entries
    // added during play, a cache without them): sample the lane on demand.
    return SampleLanePath(link, offset, out);
}

void NQMap::StoreLanePath(NQLink* link, int32_t offset, const std::vector<NQPathSample*>& samples)
{
    NQLinkLanes* entry = nullptr;
    for (NQLinkLanes* candidate : *mLanePaths)
    {
        if (candidate->mLink == link)
        {
            entry = candidate;
            break;
        }
    }
    if (!entry)
    {
        entry = new NQLinkLanes(link);
        mLanePaths->push_back(entry);
    }
    entry->SetLane(offset, samples);
}

void NQMap::BuildRoutes()
{
    base::DeleteAll(*mLanePaths);
    if (LoadPathCache(*mLanePaths) == HV_OK)
        return;

    std::vector<NQPoint*> spawns;
    NQPoint* goal = nullptr;
    for (NQPoint* point : *mPoints)
    {
        if (IsMarked(point, "spawn"))
            spawns.push_back(point);
        if (IsMarked(point, "goal"))
            goal = point;
    }
    if (!goal)
    {
        HV_LOG(L"routes: the level has no goal point\n");
        return;
    }

    for (NQPoint* spawn : spawns)
    {
        const std::vector<int32_t> route = FindRoute(spawn, goal);
        std::vector<NQLink*> links;
        for (size_t i = 1; i < route.size(); ++i)
        {
            NQPoint* a = FindById(*mPoints, route[i - 1]);
            NQPoint* b = FindById(*mPoints, route[i]);
            NQLink* link = a && b ? FindLink(a, b) : nullptr;
            if (link)
                links.push_back(link);
        }
        for (const NQWaveProto* wave : mWaveManager->mWaves)
        {
            if (wave->mSpawn != spawn->mId)
                continue;
            for (const NQWaveEntry* entry : wave->mEntries)
            {
                const int32_t offset = GetLaneOffset(entry->mY);
                for (NQLink* link : links)
                {
                    std::vector<NQPathSample*> samples;
                    if (!FindStoredLanePath(link, offset, samples))
                        SampleLanePath(link, offset, samples);
                }
            }
        }
    }
}
