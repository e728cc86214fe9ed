#pragma once

#include <cstdint>
#include <vector>

// Which towers, spells and upgrades are available at each level ("nq/unlocks.csv").
class NQUnlockTable
{
public:
    // The ids a hardcore game announces at its first level.
    static constexpr int32_t kHardcoreFirstUnlocks[] = {36, 37, 38};

    NQUnlockTable();

    // The ids the current level of the running map unlocks.
    void GetNewUnlocks(std::vector<int32_t>& ids);
};
