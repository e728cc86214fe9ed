#include "LevelFileFixture.h"

#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/NQPoint.h"
#include "LevelFileFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace leveltest
{
namespace
{
using Lanes = std::vector<std::pair<int, int32_t>>;

std::string Roads(const std::string& points, const std::string& links, const std::string& waves = "")
{
    return "<map><points>" + points + "</points><links>" + links + "</links><waves>" + waves + "</waves></map>";
}

const char* kSpawn = "<param name=\"spawn\" value=\"1\"/>";
const char* kGoal = "<param name=\"goal\" value=\"1\"/>";

std::string P(int id, float x, float y, const char* marks = "")
{
    return "<p id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\">" +
           marks + "</p>";
}

std::string L(int sid, int eid, float ax, float ay)
{
    return "<l sid=\"" + std::to_string(sid) + "\" eid=\"" + std::to_string(eid) + "\" anchor_x=\"" +
           std::to_string(ax) + "\" anchor_y=\"" + std::to_string(ay) + "\"/>";
}

TEST_F(LevelFileTest, ShortestRoutes)
{
    // A square 1 -> {2, 3} -> 4 whose two sides are equally long.
    const std::string square = L(1, 2, 50, -50) + L(1, 3, 50, 50) + L(2, 4, 150, -50) + L(3, 4, 150, 50);
    const struct
    {
        const char* name;
        std::string level;
        int32_t from, to;
        std::vector<int32_t> route;
    } cases[] = {
        {"equal paths: the point listed first",
         Roads(P(1, 0, 0) + P(2, 100, -100) + P(3, 100, 100) + P(4, 200, 0), square), 1, 4, {1, 2, 4}},
        {"equal paths, the middle points listed the other way",
         Roads(P(1, 0, 0) + P(3, 100, 100) + P(2, 100, -100) + P(4, 200, 0), square), 1, 4, {1, 3, 4}},
        {"a long curved link weighs its chord",
         Roads(P(1, 0, 0) + P(2, 100, 0) + P(3, 50, 1), L(1, 2, 50, 900) + L(1, 3, 25, 0) + L(3, 2, 75, 0)), 1, 2,
         {1, 2}},
        {"backwards over a link", Roads(P(1, 0, 0) + P(2, 100, 0) + P(3, 200, 0), L(2, 1, 50, 0) + L(3, 2, 150, 0)),
         1, 3, {1, 2, 3}},
        {"links listed twice and a self-link",
         Roads(P(1, 0, 0) + P(2, 100, 0), L(1, 1, 0, 0) + L(1, 2, 50, 0) + L(2, 1, 50, 0)), 1, 2, {1, 2}},
        {"start is the goal", Roads(P(1, 0, 0) + P(2, 100, 0), L(1, 2, 50, 0)), 2, 2, {2}},
        {"unreachable goal", Roads(P(1, 0, 0) + P(2, 100, 0) + P(3, 9, 9), L(1, 2, 50, 0)), 1, 3, {}},
        {"link to a missing point", Roads(P(1, 0, 0) + P(2, 100, 0), L(1, 7, 50, 0) + L(7, 2, 50, 0)), 1, 2, {}},
        {"two points with one id: the first",
         Roads(P(1, 0, 0) + P(2, 100, 0) + P(2, 100, 500) + P(3, 200, 0), L(1, 2, 50, 0) + L(2, 3, 150, 0)), 1, 3,
         {1, 2, 3}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ClearLog();
        ASSERT_TRUE(ReadLevel(c.level));
        EXPECT_EQ(map->FindRoute(Point(c.from), Point(c.to)), c.route);
        EXPECT_EQ(Logged(L"does not reach") + Logged(L"is its own goal"), c.route.size() > 1 ? 0 : 1);
    }
}

TEST_F(LevelFileTest, NeighboursAndWeights)
{
    ASSERT_TRUE(ReadLevel(Roads(P(1, 0, 0) + P(2, 30, 40) + P(3, 100, 0),
                                L(1, 2, 0, 500) + L(2, 1, 0, 0) + L(1, 1, 0, 0) + L(1, 9, 0, 0) + L(3, 1, 0, 0))));
    std::vector<int32_t> ids;
    for (const NQPoint* point : map->GetNeighbours(Point(1)))
        ids.push_back(point->mId);
    // Once each, in link order; the self-link gives the point itself; 9 does not exist.
    EXPECT_EQ(ids, (std::vector<int32_t>{2, 1, 3}));
    EXPECT_FLOAT_EQ(map->GetLinkWeight(Point(1), Point(2)), 50.0f);
    EXPECT_FLOAT_EQ(map->GetLinkWeight(Point(2), Point(1)), 50.0f);
    EXPECT_EQ(map->GetLinkWeight(Point(2), Point(3)), -1.0f);
    EXPECT_EQ(map->FindLink(Point(2), Point(1)), Link(0));
    EXPECT_EQ(map->FindLink(Point(2), Point(3)), nullptr);
}

TEST_F(LevelFileTest, GoalAndSpawnPoints)
{
    ASSERT_TRUE(ReadLevel(Roads(P(1, 0, 0, "<param name=\"spawn\" value=\"1.5\"/>") + P(2, 0, 0, kSpawn) +
                                    P(3, 0, 0, kGoal) + P(4, 100, 0, kSpawn) + P(5, 200, 0, kGoal),
                                L(2, 3, 0, 0) + L(4, 5, 150, 0),
                                "<wave spawn=\"4\"><e y=\"-65\"/></wave><wave spawn=\"2\"><e y=\"-65\"/></wave>")));
    EXPECT_EQ(map->FindSpawnPoint(), Point(2));
    EXPECT_EQ(map->FindGoalPoint(), Point(3));
    // Route building takes the last goal: 2 does not reach it, 4 does.
    EXPECT_EQ(StoredLanes(), (Lanes{{1, 0}}));
    EXPECT_EQ(Logged(L"point 2 does not reach point 5"), 1);
}

TEST_F(LevelFileTest, NoGoalComputesNothing)
{
    ASSERT_TRUE(ReadLevel(Roads(P(1, 0, 0, kSpawn) + P(2, 100, 0), L(1, 2, 50, 0), "<wave spawn=\"1\"><e/></wave>")));
    EXPECT_TRUE(map->mLanePaths->empty());
    EXPECT_EQ(map->FindGoalPoint(), nullptr);
    EXPECT_EQ(Logged(L"no goal point"), 1);
}

TEST_F(LevelFileTest, BuildRoutesStoresTheLanesTheWavesName)
{
    // Spawn points 1 and 2 join at 3, which leads to the goal 4; spawn point 5
    // has a road of its own and no wave.
    const std::string level =
        Roads(P(1, 0, 0, kSpawn) + P(2, 0, 200, kSpawn) + P(5, 0, 400, kSpawn) + P(3, 200, 100) + P(4, 400, 100, kGoal),
              L(1, 3, 100, 0) + L(2, 3, 100, 200) + L(3, 4, 300, 80) + L(5, 4, 200, 400),
              R"(<wave spawn="1"><e y="-65"/><e y="-64.9"/><e y="0"/></wave>
                 <wave spawn="2"><e y="-130"/></wave>
                 <wave spawn="-1"><e y="-100"/></wave>)");
    ASSERT_TRUE(ReadLevel(level));
    // Table order: links in the order their first lane was stored.
    EXPECT_EQ(StoredLanes(), (Lanes{{0, -20}, {0, 0}, {2, -20}, {2, 0}, {2, 20}, {1, 20}}));

    // Every lane runs from the link's start point to its end point.
    for (const NQLinkLanes* entry : *map->mLanePaths)
        for (const auto& [offset, samples] : entry->mLanes)
        {
            ASSERT_GE(samples.size(), 20u);
            const NQPoint* from = Point(entry->mLink->mSid);
            EXPECT_NEAR(samples.front()->x - samples.front()->normalX * float(offset), from->mX, 0.01f);
            EXPECT_NEAR(samples.front()->y - samples.front()->normalY * float(offset), from->mY, 0.01f);
        }

    // A lane no wave named is sampled when a walker asks for it.
    std::vector<NQPathSample*> lane;
    ASSERT_TRUE(map->FindLanePath(Link(3), 10, lane));
    EXPECT_GE(lane.size(), 20u);
    std::vector<NQPathSample*> again;
    ASSERT_TRUE(map->FindLanePath(Link(3), 10, again));
    EXPECT_EQ(again, lane); // stored, and shared
    EXPECT_EQ(StoredLanes().back(), (std::pair<int, int32_t>{3, 10}));

    // Built again from the start: the same set.
    map->BuildRoutes();
    EXPECT_EQ(StoredLanes(), (Lanes{{0, -20}, {0, 0}, {2, -20}, {2, 0}, {2, 20}, {1, 20}}));
}

TEST_F(LevelFileTest, LanePathTableStoreAndFind)
{
    ASSERT_TRUE(ReadLevel(Roads(P(1, 0, 0) + P(2, 100, 0), L(1, 2, 50, 0) + L(1, 8, 0, 0))));
    std::vector<NQPathSample*> first{new NQPathSample, new NQPathSample};
    map->StoreLanePath(Link(0), 5, first);
    std::vector<NQPathSample*> found;
    ASSERT_TRUE(map->FindLanePath(Link(0), 5, found));
    EXPECT_EQ(found, first);
    // Replacing keeps the samples stored again and deletes the others.
    std::vector<NQPathSample*> second{first[1], new NQPathSample};
    map->StoreLanePath(Link(0), 5, second);
    ASSERT_TRUE(map->FindLanePath(Link(0), 5, found));
    EXPECT_EQ(found, second);
    EXPECT_EQ(map->mLanePaths->size(), 1u);
    // A link to a missing point has no lane to sample.
    std::vector<NQPathSample*> none{nullptr};
    EXPECT_FALSE(map->FindLanePath(Link(1), 0, none));
    EXPECT_EQ(none.size(), 1u);
    EXPECT_EQ(map->mLanePaths->size(), 1u);
}
} // namespace
} // namespace leveltest
