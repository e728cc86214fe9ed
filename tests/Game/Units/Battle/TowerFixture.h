#pragma once

// The straight road with four build spots, for the tower, bullet and spell
// tests: #0 (400, 330) radius 1, damage 0, income 1.5; #1 (250, 330) radius 1,
// damage 2, income 1; #2 (550, 470) radius 0, damage 0, no income; #3 (400,
// 470) priced 30 gold and 5 gems. Nothing spawns by itself.
#include "BattleFixture.h"

#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEnemy.h"

#include <string>

namespace gametest
{
inline std::string TowerSpots()
{
    return SpotXml(400, 330, {{"radius_mult", 1}, {"damage_mult", 0}, {"income_mult", 1.5f}}) +
           SpotXml(250, 330, {{"radius_mult", 1}, {"damage_mult", 2}, {"income_mult", 1}}) +
           SpotXml(550, 470, {{"radius_mult", 0}, {"damage_mult", 0}}) +
           SpotXml(400, 470, {{"cost_gold", 30}, {"cost_real", 5}, {"radius_mult", 1}, {"damage_mult", 0},
                              {"income_mult", 1}});
}

// The texts the upgrade and the gems question format.
inline std::string TowerStrings()
{
    return "convertCristallToMoneyDialogTitle;gems\nconvertCristallToMoneyDialogText;pay %d gems\n"
           "towerUpgradeInfoRange;range %d\ntowerUpgradeInfoDamage;damage %d\ntowerUpgradeInfoRof;rate %d\n"
           "towerUpgradeInfoIncome;income %d\n";
}

class TowerTest : public BattleTest
{
protected:
    void SetUp() override
    {
        BattleTest::SetUp();
        data->Write("nq/strings_en.csv", TowerStrings());
        StartBattleOn(WithSpots(QuietLevelXml(), TowerSpots()));
        Economy().mGold = 1000;
        Economy().mGems = 0;
    }

    NQUnitProto* Proto(int id) const { return map->mUnitDatabase->FindProto(id); }

    // An enemy of the unit standing at (x, y), both positions.
    NQEnemy* EnemyAt(int unitId, float x, float y)
    {
        NQEnemy* enemy = SpawnNow(unitId);
        Place(enemy, x, y);
        return enemy;
    }

    static void Place(NQEnemy* enemy, float x, float y)
    {
        enemy->mX = enemy->mDrawX = x;
        enemy->mY = enemy->mDrawY = y;
    }
};
} // namespace gametest
