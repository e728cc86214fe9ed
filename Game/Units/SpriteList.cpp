#include "Game/Units/SpriteList.h"

#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQSprite.h"

#include <algorithm>

void AddSprite(NQSpriteList& list, NQSprite* sprite)
{
    if (sprite)
        list.push_back(sprite);
}

void UpdateSprites(NQSpriteList& list, float dt)
{
    for (size_t i = 0; i < list.size();)
    {
        NQSprite* sprite = list[i];
        sprite->Update(dt);
        if (sprite->IsVisible())
        {
            ++i;
            continue;
        }
        delete sprite;
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void DrawSprites(NQSpriteList& list, render::Graphics* graphics)
{
    for (NQSprite* sprite : list)
        sprite->Draw(graphics);
}

void RemoveSprite(NQSpriteList& list, NQSprite* sprite)
{
    const auto found = std::find(list.begin(), list.end(), sprite);
    if (found == list.end())
        return;
    list.erase(found);
    delete sprite;
}

void ForgetSpriteAnchor(NQSpriteList& list, const NQEnemy* enemy)
{
    if (!enemy)
        return;
    for (NQSprite* sprite : list)
    {
        auto* animated = dynamic_cast<NQAnimatedSprite*>(sprite);
        if (animated && animated->mAnchor == enemy)
            animated->ForgetAnchor();
    }
}
