#pragma once

// The level's lists of owned sprites.
#include <vector>

namespace render
{
class Graphics;
}

class NQEnemy;
class NQSprite;

using NQSpriteList = std::vector<NQSprite*>;

// Ignores null.
void AddSprite(NQSpriteList& list, NQSprite* sprite);
// Updates each sprite; one that is no longer visible is deleted and removed.
void UpdateSprites(NQSpriteList& list, float dt);
void DrawSprites(NQSpriteList& list, render::Graphics* graphics);
// Removes and deletes the sprite when the list holds it.
void RemoveSprite(NQSpriteList& list, NQSprite* sprite);
// Every animated sprite anchored to the enemy stays where it was last drawn.
void ForgetSpriteAnchor(NQSpriteList& list, const NQEnemy* enemy);
