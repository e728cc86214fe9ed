#include "Game/Data/CreateUpgradedProto.h"

#include "Core/Base/LogMessage.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"

NQUnitProto* CreateUpgradedProto(int32_t id)
{
    const NQMap* map = Game::GetMap();
    const NQUnitProto* original =
        map != nullptr && map->mUnitDatabase != nullptr ? map->mUnitDatabase->FindProto(id) : nullptr;
    // An id named in one data file and missing from the sheets.
    if (original == nullptr)
    {
        HV_LOG(L"No unit prototype with id %d to copy\n") % id;
        return nullptr;
    }
    NQUnitProto* copy = new NQUnitProto();
    copy->CopyFrom(original);
    if (map->mUpgradeTable != nullptr)
        map->mUpgradeTable->ApplyToProto(copy);
    return copy;
}
