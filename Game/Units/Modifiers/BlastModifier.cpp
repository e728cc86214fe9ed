#include "Game/Units/Modifiers/BlastModifier.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQEnemy.h"

BlastModifier::BlastModifier(NQBullet* bullet) : NQModifier(std::string(), 0.0f, 0.0f, nullptr)
{
    NQMap* map = Game::GetMap();
    const NQUnitProto* proto = bullet->mTowerProto;
    const NQUnitProto* ammo = bullet->GetAmmo();
    // Without its prototypes a shot has nothing to burst with.
    if (!map || !proto || !ammo)
        return;
    std::vector<NQEnemy*> victims;
    if (map->mWaveManager)
        map->mWaveManager->GetEnemiesInRadius(bullet->mX, bullet->mY, ammo->r, victims);
    for (NQEnemy* enemy : victims)
        enemy->ApplyDamage(proto->strength);
    if (!ammo->onHit.empty())
        PlaceEffect(map->mDepthEffects, ammo->onHit, bullet->mX, bullet->mY, kKeepLoopMode);
}
