// The bytes split at their first two zero bytes into a balance sheet, an
// unlock table and an upgrade file, each through its building step and the
// lookups the game makes on it. No level object: the lookups that need one
// are taken at fixed places instead.
#include "Core/Base/SingletoneRegistry.h"
#include "Game/ConvertSheetToXml.h"
#include "Game/NQUnitDatabase.h"
#include "Game/NQUnitProto.h"
#include "Game/NQUnlockTable.h"
#include "Game/NQUpgrade.h"
#include "Game/NQUpgradeStep.h"
#include "Game/NQUpgradeTable.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include <tinyxml2.h>

namespace
{
// Sprite sets and files are looked up relative to an empty folder.
void EnterEmptyFolder()
{
    static const bool entered = [] {
        char pattern[] = "/tmp/hvfuzz-balance-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0)
            abort();
        return true;
    }();
    (void)entered;
}

// The text up to the next zero byte; the position moves past it.
std::string TakePart(const uint8_t* data, size_t size, size_t& position)
{
    const size_t start = position;
    while (position < size && data[position] != 0)
        ++position;
    std::string part(reinterpret_cast<const char*>(data) + start, position - start);
    if (position < size)
        ++position;
    return part;
}

void FuzzSheet(const std::string& text)
{
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* data = doc.NewElement("data");
    doc.InsertEndChild(data);
    tinyxml2::XMLElement* towers = doc.NewElement("towers");
    data->InsertEndChild(towers);
    BuildSheetXml(text, towers, &doc);
    NQUnitDatabase database(data);
    for (const NQUnitProto* proto : database.mProtos)
    {
        if (database.FindProto(proto->id) == nullptr)
            abort(); // every prototype read is found
        for (const NQUnitProto* child : proto->children)
            if (database.FindProto(child->id) == nullptr)
                abort();
    }
}

void FuzzUnlocks(const std::string& text)
{
    NQUnlockTable table;
    table.Build(text);
    const int32_t places[][2] = {{0, 0}, {0, 1}, {1, 0}, {2, 9}, {-1, -1}};
    for (const auto& place : places)
    {
        const NQUnlockTable::IdList* list = table.FindCumulativeList(place[0], place[1]);
        const int32_t id = list != nullptr && !list->empty() ? list->front() : 10000;
        if (list != nullptr && !table.IsUnlockedAt(place[0], place[1], id))
            abort(); // an id of the list is unlocked there
        table.IsUnlockedAt(place[0], place[1], -1);
    }
}

void FuzzUpgrades(const std::string& text)
{
    NQUpgradeTable table(L"nq/upgrades.xml");
    table.Build(text);
    for (const NQUpgrade* upgrade : table.mUpgrades)
    {
        std::vector<NQUpgrade*> section;
        table.GetSection(upgrade->section, section);
        if (section.empty())
            abort();
        if (upgrade->GetStep(-1) != nullptr || upgrade->GetStep(static_cast<int32_t>(upgrade->steps.size())) != nullptr)
            abort();
        NQUnitProto copy;
        copy.r = 180.0f;
        copy.strength = 10.0f;
        copy.cost = 70.0f;
        copy.cooldown = 1.2f;
        copy.goldIncome = 5;
        copy.speed = 400.0f;
        NQUnitProto bonus;
        for (size_t i = 0; i < upgrade->steps.size(); ++i)
        {
            const NQUpgradeStep* step = upgrade->GetStep(static_cast<int32_t>(i));
            NQUpgradeTable::ApplyStepToProto(*step, copy);
            NQUpgradeTable::AddStepToBonus(*step, copy, bonus);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnterEmptyFolder();
    size_t position = 0;
    const std::string sheet = TakePart(data, size, position);
    const std::string unlocks = TakePart(data, size, position);
    const std::string upgrades(reinterpret_cast<const char*>(data) + position, size - position);
    FuzzSheet(sheet);
    FuzzUnlocks(unlocks);
    FuzzUpgrades(upgrades);
    base::testing::TeardownSingletonsNow();
    return 0;
}
