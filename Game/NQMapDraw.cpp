// The level and battlefield drawing.
#include "Game/NQMap.h"

#include "Game/NQContextMenu.h"
#include "Game/NQTower.h"

void NQMap::Draw(render::Graphics*)
{
}

void NQMap::ResetViewport()
{
}

void NQContextMenu::DrawRangePreview(render::Graphics*)
{
}

void NQTower::Draw(render::Graphics*)
{
}
