#include "Game/Roads/DijkstraSearch.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/DijkstraNode.h"
#include "Game/Roads/MapExtractor.h"
#include "Game/Roads/NQPoint.h"

#include <algorithm>

namespace
{
// Above the distance of an unreached node, so those are picked too.
constexpr float kPickBound = 10000001.0f;
} // namespace

DijkstraSearch::DijkstraSearch(MapExtractor* extractor, NQMap* map) : mExtractor(extractor), mMap(map) {}

DijkstraSearch::~DijkstraSearch() { delete mExtractor; }

DijkstraNode* DijkstraSearch::FindNode(int32_t id)
{
    for (DijkstraNode* node : mExtractor->mNodes)
        if (node->point->mId == id)
            return node;
    return nullptr;
}

bool DijkstraSearch::AllVisited() const
{
    for (const DijkstraNode* node : mExtractor->mNodes)
        if (!node->visited)
            return false;
    return true;
}

DijkstraNode* DijkstraSearch::PickNext()
{
    DijkstraNode* next = nullptr;
    float best = kPickBound;
    for (DijkstraNode* node : mExtractor->mNodes)
    {
        if (node->visited || !(node->distance < best))
            continue;
        best = node->distance;
        next = node;
    }
    return next;
}

std::vector<int32_t> DijkstraSearch::FindPath(const NQPoint* start, const NQPoint* goal)
{
    DijkstraNode* current = start ? FindNode(start->mId) : nullptr;
    DijkstraNode* goalNode = goal ? FindNode(goal->mId) : nullptr;
    if (!current || !goalNode)
    {
        HV_LOG(L"route: start or goal is not a road point\n");
        return {};
    }
    if (current == goalNode)
    {
        HV_LOG(L"route: point %d is its own goal\n") % start->mId;
        return {start->mId};
    }
    current->distance = 0.0f;
    while (current)
    {
        current->visited = true;
        for (int32_t id : current->neighbours)
        {
            DijkstraNode* node = FindNode(id);
            if (!node || node->visited)
                continue;
            const float reached = current->distance + mMap->GetLinkWeight(current->point, node->point);
            if (node->distance > reached)
            {
                node->previous = current;
                node->distance = reached;
            }
        }
        if (AllVisited())
            break;
        current = PickNext();
    }

    // Read back from the goal. Every step must have a predecessor, and the
    // walk can take no more steps than there are nodes.
    const int32_t startId = start->mId;
    std::vector<int32_t> route{goalNode->point->mId};
    DijkstraNode* node = goalNode;
    while (route.back() != startId)
    {
        if (!node->previous || route.size() > mExtractor->mNodes.size())
        {
            HV_LOG(L"route: point %d does not reach point %d\n") % startId % goal->mId;
            return {};
        }
        node = FindNode(node->previous->point->mId);
        route.push_back(node->point->mId);
    }
    std::reverse(route.begin(), route.end());
    return route;
}
