#pragma once

// Front-end tests of the shop, the gem shop and the level result window:
// fixture layouts of the three screens, their strings and a fixture upgrade
// table, with the profile in memory and the level's values set directly.
#include "FrontEndFixture.h"
#include "WindowText.h"

#include <string>
#include <vector>

namespace gametest
{
// "nq/ui_levelresult": the nine root pictures, the nine text slots and the
// four buttons "done", "close", "restart", "menu".
std::vector<FixtureLayer> LevelResultLayers();
// "nq/gem_shop": a background, the five layout buttons "b_0N_in" under the
// packs, "back_in", the five packs (300 x 200 at x = 40 + 320 i, y = 200),
// their price pictures, text rectangles and the badge.
std::vector<FixtureLayer> GemShopLayers();
constexpr int kPackWidth = 300;
constexpr int kPackHeight = 200;
inline int PackX(int i) { return 40 + 320 * i; }
constexpr int kPackY = 200;
// Where the gem shop's "back_in" lies: over pack 0's margin.
constexpr int kBackInX = 50;
constexpr int kBackInY = 210;
// "nq/shop" with every part the shop and its plates look up.
std::vector<FixtureLayer> ShopLayers();
// Section 0: ids 1 .. 5 (id 2 one step, id 3 eight steps, the others three),
// section 1: ids 11 .. 14 (two steps), section 2 empty. Step k of upgrade id
// costs 10 * (k + 1) gems.
std::string FixtureUpgradesXml(int section0Count = 5);
// Strings of the three screens.
std::string ShopStrings();
int StepCost(int step);

class ShopTest : public FrontEndTest
{
protected:
    void SetUp() override;

    // The player's gems, in the economy and the stored total alike.
    void SetGems(int gems);
    int StoredGems() const;
    // Loads "nq/upgrades.xml" into the level.
    void LoadUpgrades(const std::string& xml);
};
} // namespace gametest
