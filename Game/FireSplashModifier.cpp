#include "Game/FireSplashModifier.h"

#include "Game/Game.h"
#include "Game/NQEnemy.h"
#include "Game/NQMap.h"
#include "Game/NQWaveManager.h"

FireSplashModifier::FireSplashModifier(const std::string& name, float value, float duration, void* source, float x,
                                       float y, float size)
    : NQModifier(name, value, duration, source)
{
    mAreaX = x;
    mAreaY = y;
    mAreaSize = size;
}

void FireSplashModifier::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    std::vector<NQEnemy*> reached;
    map->mWaveManager->GetEnemiesInRadius(mAreaX, mAreaY, mAreaSize, reached);
    for (NQEnemy* enemy : reached)
        enemy->ApplyDamage(mValue);
}
