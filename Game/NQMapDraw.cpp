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

void NQMap::StampRoads(render::Graphics*)
{
}

void NQMap::StampLink(render::Graphics*, const NQLink*)
{
}

void NQMap::DrawCircleOutline(render::Graphics*, float, float, float)
{
}

void NQMap::DrawWaveSchedule(render::Graphics*)
{
}

bool NQMap::CompareDepth(const NQFrameEntry*, const NQFrameEntry*)
{
    return false;
}
