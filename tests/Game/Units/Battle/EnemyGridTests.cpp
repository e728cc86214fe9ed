// The enemy grid: every enemy a walk over the list finds in a radius is
// among the grid's candidates, in list order, whatever the positions.
#include "Game/Level/EnemyGrid.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQEnemy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace
{
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class EnemyGridTest : public testing::Test
{
protected:
    NQEnemy* Add(float x, float y)
    {
        owned.push_back(std::make_unique<NQEnemy>(&entry));
        NQEnemy* enemy = owned.back().get();
        enemy->mX = x;
        enemy->mY = y;
        enemies.push_back(enemy);
        return enemy;
    }

    // The towers' test: strictly closer, and a distance that is no number.
    std::vector<uint32_t> Walk(float x, float y, float radius) const
    {
        std::vector<uint32_t> found;
        for (uint32_t i = 0; i < enemies.size(); ++i)
            if (!(PointDistance(x, y, enemies[i]->mX, enemies[i]->mY) >= radius))
                found.push_back(i);
        return found;
    }

    void ExpectCandidatesHoldTheWalk(float x, float y, float radius) const
    {
        const std::vector<uint32_t>& near = grid.Near(x, y, radius);
        EXPECT_TRUE(std::is_sorted(near.begin(), near.end())) << x << " " << y << " " << radius;
        EXPECT_EQ(std::adjacent_find(near.begin(), near.end()), near.end()) << x << " " << y << " " << radius;
        const std::vector<uint32_t> walk = Walk(x, y, radius);
        EXPECT_TRUE(std::includes(near.begin(), near.end(), walk.begin(), walk.end()))
            << x << " " << y << " " << radius;
    }

    NQWaveEntry entry{nullptr};
    std::vector<std::unique_ptr<NQEnemy>> owned;
    std::vector<NQEnemy*> enemies;
    EnemyGrid grid;
};

TEST_F(EnemyGridTest, CandidatesHoldEveryEnemyTheWalkFinds)
{
    std::mt19937 random(42);
    std::uniform_real_distribution<float> across(-300.0f, 1700.0f);
    for (int i = 0; i < 400; ++i)
        Add(across(random), across(random) * 0.6f);
    // On cell edges, stacked on one point, far away and without a number.
    for (float edge : {0.0f, 64.0f, 128.0f, 127.99999f, 128.00001f})
        Add(edge, edge);
    Add(500.0f, 500.0f);
    Add(500.0f, 500.0f);
    Add(1.0e7f, -1.0e7f);
    Add(kNaN, 100.0f);
    Add(100.0f, kInf);
    grid.Build(enemies);

    struct Query
    {
        float x;
        float y;
        float radius;
    };
    const Query queries[] = {
        {500.0f, 500.0f, 0.0f},   {500.0f, 500.0f, 1.0e-6f}, {500.0f, 300.0f, 150.0f}, {-2000.0f, -2000.0f, 10.0f},
        {64.0f, 64.0f, 64.0f},    {128.0f, 128.0f, 0.5f},    {0.0f, 0.0f, 1.0e8f},     {700.0f, 200.0f, -5.0f},
        {700.0f, 200.0f, kNaN},   {700.0f, 200.0f, kInf},    {kNaN, 200.0f, 50.0f},    {1.0e7f, -1.0e7f, 1.0f},
    };
    for (const Query& q : queries)
        ExpectCandidatesHoldTheWalk(q.x, q.y, q.radius);
    std::uniform_real_distribution<float> reach(0.0f, 400.0f);
    for (int i = 0; i < 300; ++i)
        ExpectCandidatesHoldTheWalk(across(random), across(random) * 0.6f, reach(random));
}

TEST_F(EnemyGridTest, ANearQueryLooksAtFewEnemies)
{
    for (int i = 0; i < 1000; ++i)
        Add(float(i % 50) * 30.0f, float(i / 50) * 30.0f);
    grid.Build(enemies);
    const std::vector<uint32_t>& near = grid.Near(700.0f, 300.0f, 100.0f);
    EXPECT_GE(near.size(), Walk(700.0f, 300.0f, 100.0f).size());
    EXPECT_LT(near.size(), enemies.size() / 10);
}

TEST_F(EnemyGridTest, CoversOnlyTheListItWasBuiltFromAsItWas)
{
    Add(10.0f, 10.0f);
    EXPECT_FALSE(grid.Covers(enemies));
    grid.Build(enemies);
    EXPECT_TRUE(grid.Covers(enemies));
    const std::vector<NQEnemy*> copy = enemies;
    EXPECT_FALSE(grid.Covers(copy));
    Add(20.0f, 20.0f);
    EXPECT_FALSE(grid.Covers(enemies));
    grid.Build(enemies);
    grid.Clear();
    EXPECT_FALSE(grid.Covers(enemies));
}

TEST_F(EnemyGridTest, AnEmptyListOrAGridNeverBuiltHasNoCandidates)
{
    Add(10.0f, 10.0f);
    EXPECT_TRUE(grid.Near(10.0f, 10.0f, 100.0f).empty());
    enemies.clear();
    grid.Build(enemies);
    EXPECT_TRUE(grid.Near(0.0f, 0.0f, 1.0e9f).empty());
    EXPECT_TRUE(grid.Near(0.0f, 0.0f, kNaN).empty());
}
} // namespace
