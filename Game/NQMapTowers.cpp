// Building, upgrading and selling towers.
#include "Game/NQMap.h"

NQTower* NQMap::BuildTower(NQUnitProto*, NQFrameEntry*)
{
    return nullptr;
}
