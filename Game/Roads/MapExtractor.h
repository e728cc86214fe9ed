#pragma once

#include "Game/Roads/DijkstraDataExtractor.h"

#include <vector>

struct DijkstraNode;

// The level's road graph: one node per road point, in point-list order.
class MapExtractor : public DijkstraDataExtractor
{
public:
    MapExtractor() = default;
    ~MapExtractor() override;

    // Replaces the nodes by those of the map's points.
    void Extract(NQMap* map) override;

    // Owned.
    std::vector<DijkstraNode*> mNodes;
};
