#pragma once

#include <string>

class NQMap;

// The bought-upgrade table ("nq/upgrades.xml").
class NQUpgradeTable
{
public:
    explicit NQUpgradeTable(const std::wstring& path);

    // Writes the global upgrades' effects (kill reward, start gold, lives) into the level.
    void ApplyGlobal(NQMap* map);
};
