#pragma once

// The battle fixture on the quiet level, with enemies stood where a test
// wants them.
#include "BattleFixture.h"

#include "Game/Units/NQEnemy.h"

namespace gametest
{
class QuietBattleTest : public BattleTest
{
protected:
    void SetUp() override
    {
        BattleTest::SetUp();
        StartBattleOn(QuietLevelXml());
    }

    // An enemy of the unit standing at (x, 400).
    NQEnemy* At(int unit, float x)
    {
        NQEnemy* enemy = SpawnNow(unit);
        enemy->mX = enemy->mDrawX = x;
        return enemy;
    }
};
} // namespace gametest
