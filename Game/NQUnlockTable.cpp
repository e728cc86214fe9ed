#include "Game/NQUnlockTable.h"

#include "Game/Game.h"
#include "Game/NQMap.h"

namespace
{
constexpr int32_t kHardcoreMode = 3;
} // namespace

NQUnlockTable::NQUnlockTable()
{
}

void NQUnlockTable::GetNewUnlocks(std::vector<int32_t>& ids)
{
    const NQMap* map = Game::GetMap();
    if (!map)
        return;
    if (map->mMode != kHardcoreMode)
    {
        // No rows read: nothing is unlocked anywhere.
        ids.clear();
        return;
    }
    if (map->mEpisode == 0 && map->mLevel == 0)
        ids.insert(ids.end(), std::begin(kHardcoreFirstUnlocks), std::end(kHardcoreFirstUnlocks));
}
