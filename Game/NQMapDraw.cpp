// The level and battlefield drawing.
#include "Game/NQMap.h"

void NQMap::Draw(render::Graphics*)
{
}

void NQMap::ResetViewport()
{
}
