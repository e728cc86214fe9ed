// The pointer on the map: press, release, move and wheel.
#include "Game/NQMap.h"

void NQMap::OnMouseDown(int, int)
{
}

void NQMap::OnMouseUp(int, int)
{
}

void NQMap::OnMouseMove(int, int)
{
}

void NQMap::OnMouseWheel(int)
{
}
