#pragma once

#include <cstdint>
#include <vector>

class MapExtractor;
class NQMap;
class NQPoint;
struct DijkstraNode;

// One shortest-path search over a road graph: edges weigh the straight
// distance between their points. Serves one search and is discarded.
class DijkstraSearch
{
public:
    // Takes the extractor (already extracted); the map only gives the weights.
    DijkstraSearch(MapExtractor* extractor, NQMap* map);
    DijkstraSearch(const DijkstraSearch&) = delete;
    DijkstraSearch& operator=(const DijkstraSearch&) = delete;
    ~DijkstraSearch();

    // Point ids from start to goal, both included; [start] when they are the
    // same point; empty when the goal cannot be reached.
    std::vector<int32_t> FindPath(const NQPoint* start, const NQPoint* goal);
    // The unvisited node of the smallest distance, the earliest on a tie;
    // nodes never reached come after every reached one. Null when all are visited.
    DijkstraNode* PickNext();

private:
    // The first node of the point id, or null.
    DijkstraNode* FindNode(int32_t id);
    bool AllVisited() const;

    MapExtractor* mExtractor;
    NQMap* mMap;
};
