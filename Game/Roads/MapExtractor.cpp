#include "Game/Roads/MapExtractor.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/DijkstraNode.h"
#include "Game/Roads/NQPoint.h"

MapExtractor::~MapExtractor() { base::DeleteAll(mNodes); }

void MapExtractor::Extract(NQMap* map)
{
    base::DeleteAll(mNodes);
    for (NQPoint* point : *map->mPoints)
    {
        DijkstraNode* node = new DijkstraNode;
        node->point = point;
        for (const NQPoint* neighbour : map->GetNeighbours(point))
            node->neighbours.push_back(neighbour->mId);
        mNodes.push_back(node);
    }
}
