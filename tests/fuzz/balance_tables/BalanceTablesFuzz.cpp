// The bytes split at their first two zero bytes into a balance sheet, an
// unlock table and an upgrade file, each through its building step and the
// lookups the game makes on it. No level object: the lookups that need one
// are taken at fixed places instead.
#include "Core/Base/SingletoneRegistry.h"
#include "Game/Data/ConvertSheetToXml.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Data/NQUpgradeTable.h"

#include "support/ScratchFolder.h"
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include <tinyxml2.h>

namespace
{
std::string& StartFolder()
{
    static std::string folder;
    return folder;
}

const std::string& EmptyFolder()
{
    static const std::string folder = hvtest::MakeScratchFolder("/tmp/hvfuzz-balance-XXXXXX");
    return folder;
}

// Files and sprite sets named by an input are looked up from an empty folder
// while it runs; corpus and artifact paths stay relative to the start folder.
class InEmptyFolder
{
public:
    InEmptyFolder()
    {
        if (chdir(EmptyFolder().c_str()) != 0)
            abort();
    }
    ~InEmptyFolder()
    {
        if (chdir(StartFolder().c_str()) != 0)
            abort();
    }
};

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
        if (list != nullptr && !list->empty() && !table.IsUnlockedAt(place[0], place[1], list->back()))
            abort(); // an id of the list is unlocked there
        table.IsUnlockedAt(place[0], place[1], 10000);
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

// A crash is written while the input runs in the empty folder: relative
// artifact paths are made absolute from the start folder, and without one the
// start folder is named, where libFuzzer would write anyway.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    char* start = getcwd(nullptr, 0);
    if (start == nullptr)
        abort();
    StartFolder() = start;
    free(start);
    const std::string options[] = {"-artifact_prefix=", "-exact_artifact_path="};
    static std::vector<std::string> arguments;
    bool named = false;
    for (int i = 0; i < *argc; ++i)
    {
        std::string argument = (*argv)[i];
        for (const std::string& option : options)
        {
            if (argument.rfind(option, 0) != 0)
                continue;
            named = true;
            if (argument.size() > option.size() && argument[option.size()] != '/')
                argument = option + StartFolder() + "/" + argument.substr(option.size());
        }
        arguments.push_back(argument);
    }
    if (!named)
        arguments.push_back(options[0] + StartFolder() + "/");
    static std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(arguments.size());
    *argv = pointers.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InEmptyFolder inside;
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
