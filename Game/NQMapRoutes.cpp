// The level's routes: lane paths from the path cache or the road graph.
#include "Game/NQMap.h"

void NQMap::BuildRoutes()
{
}
