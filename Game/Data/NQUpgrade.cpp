#include "Game/Data/NQUpgrade.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/TextEncoding.h"
#include "Game/Data/DataAttributes.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"

#include <algorithm>

#include <tinyxml2.h>

namespace
{
const int32_t kWholeLevel = -1;
} // namespace

NQUpgrade::NQUpgrade(const tinyxml2::XMLElement* element)
{
    ReadIntAttribute(element, "id", id);
    ReadIntAttribute(element, "section", section);
    if (const char* name = element->Attribute("icon"))
        icon = base::Utf8ToWide(name);
    if (const tinyxml2::XMLElement* unlock = element->FirstChildElement("unlock"))
    {
        ReadIntAttribute(unlock, "episode", unlockEpisode);
        ReadIntAttribute(unlock, "level", unlockLevel);
    }
    // From the first "target" on, every sibling counts whatever its name.
    if (const tinyxml2::XMLElement* list = element->FirstChildElement("targets"))
        for (const tinyxml2::XMLElement* target = list->FirstChildElement("target"); target != nullptr;
             target = target->NextSiblingElement())
        {
            int32_t targetId = 0;
            ReadIntAttribute(target, "id", targetId);
            targets.push_back(targetId);
        }
    if (const tinyxml2::XMLElement* list = element->FirstChildElement("steps"))
        for (const tinyxml2::XMLElement* step = list->FirstChildElement("step"); step != nullptr;
             step = step->NextSiblingElement())
            steps.push_back(new NQUpgradeStep(step));
}

NQUpgrade::~NQUpgrade()
{
    base::DeleteAll(steps);
}

NQUpgradeStep* NQUpgrade::GetStep(int32_t index) const
{
    if (index < 0 || static_cast<size_t>(index) >= steps.size())
        return nullptr;
    return steps[static_cast<size_t>(index)];
}

bool NQUpgrade::IsAvailable(bool byProgress) const
{
    const NQMap* map = Game::GetMap();
    if (map == nullptr || map->mUnlockTable == nullptr)
        return false;
    const NQUnlockTable& unlocks = *map->mUnlockTable;
    return std::any_of(targets.begin(), targets.end(), [&unlocks, byProgress](int32_t target) {
        if (target == kWholeLevel)
            return true;
        return byProgress ? unlocks.IsUnlockedByProgress(target) : unlocks.IsUnlocked(target);
    });
}
