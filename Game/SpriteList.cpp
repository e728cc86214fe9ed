#include "Game/SpriteList.h"

#include "Game/NQSprite.h"

void AddSprite(NQSpriteList&, NQSprite*) {}
void UpdateSprites(NQSpriteList&, float) {}
void DrawSprites(NQSpriteList&, render::Graphics*) {}
void RemoveSprite(NQSpriteList&, NQSprite*) {}
void ForgetSpriteAnchor(NQSpriteList&, const NQEnemy*) {}
