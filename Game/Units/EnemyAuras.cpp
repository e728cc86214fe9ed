#include "Game/Units/EnemyAuras.h"

#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQEnemy.h"

namespace
{
// A heal of a tenth of the maximum, as negative damage.
constexpr float kHealShare = -10.0f;
} // namespace

bool IsDead(const NQEnemy* enemy) { return enemy->mState == NQEnemy::kDying; }

std::vector<NQEnemy*> FindEnemiesWithinR(const NQEnemy* enemy)
{
    std::vector<NQEnemy*> found;
    NQMap* map = Game::GetMap();
    const NQUnitProto* proto = enemy->GetProto();
    if (!map || !proto)
        return found;
    const std::vector<NQEnemy*>& enemies = map->mWaveManager->mEnemies;
    for (size_t i = 0; i < enemies.size(); ++i)
    {
        NQEnemy* other = enemies[i];
        if (other != enemy && PointDistance(enemy->mX, enemy->mY, other->mX, other->mY) < proto->r)
            found.push_back(other);
    }
    return found;
}

void HoldBack(NQEnemy* enemy, float share)
{
    const NQUnitProto* base = enemy ? enemy->GetBaseProto() : nullptr;
    if (base)
        enemy->mSlow = share * base->speed;
}

bool HealTenth(NQEnemy* enemy)
{
    const float maximum = enemy->GetMaxHealth();
    if (!(maximum > enemy->mHealth))
        return false;
    enemy->ApplyDamage(maximum / kHealShare);
    if (enemy->mHealth > maximum)
        enemy->mHealth = maximum;
    return true;
}
