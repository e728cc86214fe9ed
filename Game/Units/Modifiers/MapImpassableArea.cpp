#include "Game/Units/Modifiers/MapImpassableArea.h"

#include "Game/Units/EnemyAuras.h"

MapImpassableArea::MapImpassableArea(float duration, float x, float y, float size)
    : NQModifier(std::string(), 0.0f, duration, nullptr)
{
    SetArea(x, y, size);
}

void MapImpassableArea::Tick(NQEnemy*, float)
{
    for (NQEnemy* enemy : FindEnemiesInArea())
        HoldBack(enemy, 1.0f);
}
