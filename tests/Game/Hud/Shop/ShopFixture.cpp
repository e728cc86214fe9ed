#include "ShopFixture.h"

#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

namespace gametest
{
std::vector<FixtureLayer> LevelResultLayers()
{
    std::vector<FixtureLayer> layers;
    int x = 0;
    for (const char* name : {"back_win", "back_lose", "diffictly", "diffictly_lose", "victory_label", "defeat_label",
                             "star0", "star1", "star2"})
        layers.push_back({name, x += 20, 100, 16, 16, 0xFF203040u});
    int y = 200;
    for (const char* slot : {"killScore", "goldBonus", "lifeBonus", "totalScore", "gems", "bestScore",
                             "levelResult", "levelName", "gameName"})
        layers.push_back({std::string("text/") + slot, 300, y += 30, 300, 24, 0, -1, false});
    int bx = 0;
    for (const char* button : {"done", "close", "restart", "menu"})
        layers.push_back({std::string("button/") + button, bx += 150, 600, 100, 50, 0xFF808080u});
    return layers;
}

std::vector<FixtureLayer> GemShopLayers()
{
    std::vector<FixtureLayer> layers{{"background", 0, 0, 1024, 768, 0xFF101010u}};
    for (int i = 0; i < 5; ++i)
    {
        const std::string n = "0" + std::to_string(i + 1);
        layers.push_back({"button/b_" + n + "_in", PackX(i), kPackY, kPackWidth, kPackHeight, 0xFF404040u});
        layers.push_back({"pricing/en/" + std::to_string(i + 1), PackX(i) + 100, kPackY + 120, 60, 30, 0xFF00FF00u});
        layers.push_back({"text/b_" + n + "_text", PackX(i), kPackY + 160, kPackWidth, 30, 0, -1, false});
    }
    layers.push_back({"button/back_in", kBackInX - 10, kBackInY - 10, 20, 20, 0xFF808080u});
    layers.push_back({"1/most_popular", PackX(1), kPackY - 20, 80, 30, 0xFFFF0000u});
    layers.push_back({"text/caption", 300, 40, 400, 40, 0, -1, false});
    layers.push_back({"text/caption_gems", 300, 100, 400, 40, 0, -1, false});
    return layers;
}

std::vector<FixtureLayer> ShopLayers()
{
    return {
        {"background", 0, 0, 1024, 768, 0xFF101010u},
        {"back_header", 100, 100, 800, 70, 0xFF202020u},
        {"back_footer", 100, 620, 800, 100, 0xFF303030u},
        {"button/return_ac", 120, 650, 100, 40, 0xFF808080u},
        {"button/back_ac", 240, 650, 100, 40, 0xFF808080u},
        {"button/gem_shop", 360, 650, 100, 40, 0xFF808080u},
        {"button/reset_premium_points", 480, 650, 100, 40, 0xFF808080u},
        {"button/up_in", 870, 150, 30, 30, 0xFF808080u},
        {"button/down_in", 870, 630, 30, 30, 0xFF808080u},
        {"text/caption", 300, 60, 429, 40, 0, -1, false},
        {"text/gems", 700, 60, 200, 40, 0, -1, false},
        {"item_plate/Layer_1", 120, 200, 700, 95, 0xFF505050u},
        {"item_plate/stars/clear_star", 400, 210, 20, 20, 0xFF606060u},
        {"item_plate/stars/star_01", 430, 210, 10, 10, 0xFFFFFF01u},
        {"item_plate/stars/star_02", 445, 210, 10, 10, 0xFFFFFF02u},
        {"item_plate/stars/star_03", 460, 210, 10, 10, 0xFFFFFF03u},
        {"item_plate/stars/star_04", 475, 210, 10, 10, 0xFFFFFF04u},
        {"item_plate/stars/star_05", 490, 210, 10, 10, 0xFFFFFF05u},
        {"item_plate/stars/star_06", 505, 210, 10, 10, 0xFFFFFF06u},
        {"item_plate/buy_ac", 700, 220, 80, 50, 0xFF00FF00u},
        {"item_plate/buy_in", 700, 220, 80, 50, 0xFF008000u},
        {"item_plate/grem", 620, 250, 20, 20, 0xFF0000FFu},
        {"icons/ic_a", 0, 0, 40, 40, 0xFFAA0000u},
        {"icons/ic_b", 0, 0, 40, 30, 0xFF00AA00u},
        {"tabs/up_button_ac", 200, 120, 200, 60, 0xFF909090u},
        {"tabs/up_button_in", 200, 120, 200, 60, 0xFF707070u},
        {"scroll/bar", 870, 200, 30, 420, 0xFF404040u},
        {"scroll/slider_in", 867, 200, 36, 60, 0xFFC0C0C0u},
    };
}

namespace
{
std::string Upgrade(int id, int section, int steps, const char* icon)
{
    std::string xml = "<upgrade id=\"" + std::to_string(id) + "\" section=\"" + std::to_string(section) +
                      "\" icon=\"" + icon + "\"><targets><target id=\"-1\"/></targets><steps>";
    for (int k = 0; k < steps; ++k)
        xml += "<step cost_g=\"1\" cost_r=\"" + std::to_string(StepCost(k)) + "\"/>";
    return xml + "</steps></upgrade>";
}
} // namespace

int StepCost(int step) { return 10 * (step + 1); }

std::string FixtureUpgradesXml(int section0Count)
{
    std::string xml = "<upgrades>";
    for (int i = 0; i < section0Count; ++i)
    {
        const int id = i + 1;
        const int steps = id == 2 ? 1 : id == 3 ? 8 : 3;
        xml += Upgrade(id, 0, steps, i % 2 ? "ic_b" : "ic_a");
    }
    for (int id = 11; id <= 14; ++id)
        xml += Upgrade(id, 1, 2, "ic_a");
    return xml + "</upgrades>";
}

std::string ShopStrings()
{
    std::string rows = "gems;Gems\ngame_best_score;Best:\ngame_kill_score;Kills:\ngame_life_bonus;Lives:\n"
                       "game_total_score;Total:\ngemShopTitle;Gem shop\ngemShopTitle2;You have %d gems\n"
                       "gemShopBuy_progress;Wait\ngemShopBuyFor;Buy for %s\nshop;Shop\nshop_tab_0;Towers\n"
                       "shop_tab_1;Spells\nshop_tab_2;Other\nreset_upgrades_title;Reset\n"
                       "reset_upgrades_message;Reset all?\n";
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14})
    {
        const std::string key = "upgrade_" + std::to_string(id);
        rows += key + "_name;Up" + std::to_string(id) + "\n" + key + "_complete;Done" + std::to_string(id) + "\n";
        for (int k = 0; k < 8; ++k)
            rows += key + "_step" + std::to_string(k) + ";S" + std::to_string(id) + "k" + std::to_string(k) + "\n";
    }
    return rows;
}

void ShopTest::SetUp()
{
    extraStrings = ShopStrings();
    FrontEndTest::SetUp();
    WriteLayout("nq/ui_levelresult", LevelResultLayers());
    WriteLayout("nq/gem_shop", GemShopLayers());
    WriteLayout("nq/shop", ShopLayers());
}

void ShopTest::SetGems(int gems)
{
    Map()->mEconomy->mGems = gems;
    Map()->mProgress->SetGems(gems);
}

int ShopTest::StoredGems() const { return Map()->mProgress->GetGems(); }

void ShopTest::LoadUpgrades(const std::string& xml)
{
    delete Map()->mUpgradeTable;
    Map()->mUpgradeTable = new NQUpgradeTable(L"");
    Map()->mUpgradeTable->Build(xml);
    // Whole-level upgrades are offered whatever is unlocked, but only with a table.
    if (!Map()->mUnlockTable)
        Map()->mUnlockTable = new NQUnlockTable;
}
} // namespace gametest
