#include "Game/NQUpgradeTable.h"

NQUpgradeTable::NQUpgradeTable(const std::wstring&)
{
}

void NQUpgradeTable::ApplyGlobal(NQMap*)
{
}
