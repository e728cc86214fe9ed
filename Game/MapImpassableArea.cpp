#include "Game/MapImpassableArea.h"

#include "Game/Game.h"
#include "Game/NQEnemy.h"
#include "Game/NQMap.h"
#include "Game/NQUnitProto.h"
#include "Game/NQWaveManager.h"

MapImpassableArea::MapImpassableArea(float duration, float x, float y, float size)
    : NQModifier(std::string(), 0.0f, duration, nullptr)
{
    mAreaX = x;
    mAreaY = y;
    mAreaSize = size;
}

void MapImpassableArea::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    std::vector<NQEnemy*> reached;
    map->mWaveManager->GetEnemiesInRadius(mAreaX, mAreaY, mAreaSize, reached);
    for (NQEnemy* enemy : reached)
        if (const NQUnitProto* base = enemy->GetBaseProto())
            enemy->mSlow = base->speed;
}
