// The level's frame update.
#include "Game/NQMap.h"

void NQMap::Update(float)
{
}
