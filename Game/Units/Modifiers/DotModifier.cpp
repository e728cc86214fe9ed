#include "Game/Units/Modifiers/DotModifier.h"

#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/SpriteList.h"

DotModifier::DotModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
}

void DotModifier::Tick(NQEnemy* owner, float)
{
    if (!owner)
        return;
    owner->ApplyDamage(mValue);
    NQMap* map = Game::GetMap();
    if (!map || !map->mHints)
        return;
    auto* mark = new NQAnimatedSprite(L"nq/mob_dot");
    mark->mX = owner->mX;
    mark->mY = owner->mY;
    AddSprite(*map->mHints, mark);
}
