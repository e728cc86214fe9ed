#pragma once

// One upgrade of the shop: the prototypes (or, with target -1, the level as a
// whole) it improves and its steps in buying order.
#include <cstdint>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class NQUpgradeStep;

class NQUpgrade
{
public:
    // A missing "icon" gives an empty name, missing "targets" no targets (it
    // never applies and is never offered), missing "steps" no steps and a
    // missing "unlock" episode 0, level 0.
    explicit NQUpgrade(const tinyxml2::XMLElement* element);
    NQUpgrade(const NQUpgrade&) = delete;
    NQUpgrade& operator=(const NQUpgrade&) = delete;
    ~NQUpgrade();

    // Null outside 0 .. last.
    NQUpgradeStep* GetStep(int32_t index) const;

    // A target is -1 or unlocked: at the running level, or with byProgress at
    // the furthest level the player has reached.
    bool IsAvailable(bool byProgress) const;

    int32_t id = 0;
    int32_t section = 0;
    int32_t unlockEpisode = 0;
    int32_t unlockLevel = 0;
    std::wstring icon; // a layer name under "icons/" of the shop layout
    std::vector<int32_t> targets;
    std::vector<NQUpgradeStep*> steps; // owned
};
