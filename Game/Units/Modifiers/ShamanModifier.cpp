#include "Game/Units/Modifiers/ShamanModifier.h"

#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/EnemyAuras.h"
#include "Game/Units/Modifiers/ShamanPortal.h"
#include "Game/Units/NQEnemy.h"

ShamanModifier::ShamanModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
}

void ShamanModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || owner->mSlow != 0.0f || IsDead(owner))
        return;
    NQMap* map = Game::GetMap();
    const NQUnitProto* proto = owner->GetProto();
    const NQUnitProto* summon = map && proto ? map->mUnitDatabase->FindProto(proto->ammoid) : nullptr;
    // Nothing to summon: no cast.
    if (!summon)
        return;
    owner->mState = NQEnemy::kSpecial;
    owner->mAnimTime = 0.0f;
    auto* portal = new ShamanPortal(owner, summon->cooldown);
    portal->mPeriod = summon->speed;
    map->mModifiers.push_back(portal);
}
