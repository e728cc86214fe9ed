#pragma once

#include <cstdint>
#include <vector>

class NQPoint;

// One road point as the shortest-path search sees it.
struct DijkstraNode
{
    // The distance of a node the search has not reached.
    static constexpr float kUnreached = 10000000.0f;

    NQPoint* point = nullptr;
    // The node the best known path arrives from.
    DijkstraNode* previous = nullptr;
    float distance = kUnreached;
    bool visited = false;
    // Ids of the points joined to this one by a link.
    std::vector<int32_t> neighbours;
};
