#include "Game/Units/Modifiers/HealerModifier.h"

#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/EnemyAuras.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/SpriteList.h"

HealerModifier::HealerModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
}

void HealerModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || owner->mSlow != 0.0f || IsDead(owner))
        return;
    NQMap* map = Game::GetMap();
    bool healed = false;
    for (NQEnemy* other : FindEnemiesWithinR(owner))
    {
        if (IsDead(other) || !HealTenth(other))
            continue;
        if (map && map->mHints)
        {
            auto* mark = new NQAnimatedSprite(L"nq/mob_heal");
            mark->mX = other->mX;
            mark->mY = other->mY;
            mark->SetAnchor(other);
            AddSprite(*map->mHints, mark);
        }
        healed = true;
    }
    if (!healed)
        return;
    owner->mState = NQEnemy::kSpecial;
    owner->mAnimTime = 0.0f;
}
