#include "LevelFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Game/BezierCurve.h"
#include "Game/LinkGeometry.h"
#include "Game/NQLink.h"
#include "Game/NQLinkLanes.h"
#include "Game/NQPathSample.h"
#include "Game/NQPoint.h"
#include "Game/NQWaveManager.h"
#include "Game/PathWalk.h"

#include <gtest/gtest.h>

namespace leveltest
{
namespace
{
TEST_F(LevelTest, ExampleLevelRoutes)
{
    ASSERT_TRUE(ReadLevel(R"(<map><points>
      <p id="1" x="60" y="380"><param name="spawn" value="1"/></p>
      <p id="2" x="500" y="380"/>
      <p id="3" x="980" y="380"><param name="goal" value="1"/></p></points>
      <links><l sid="1" eid="2" anchor_x="280" anchor_y="300"/><l sid="2" eid="3" anchor_x="740" anchor_y="460"/></links>
      <waves timeout="2"><wave spawn="1"><e id="50" upgrade="1" x="0" y="-65"/><e id="50" x="45" y="-40"/></wave></waves>
      </map>)"));
    EXPECT_EQ(map->FindRoute(map->FindSpawnPoint(), map->FindGoalPoint()), (std::vector<int32_t>{1, 2, 3}));
    ASSERT_EQ(map->mLanePaths->size(), 2u);
    for (const NQLinkLanes* entry : *map->mLanePaths)
    {
        ASSERT_EQ(entry->mLanes.size(), 2u);
        EXPECT_TRUE(entry->mLanes.count(0));
        EXPECT_TRUE(entry->mLanes.count(-7));
    }
}
} // namespace
} // namespace leveltest
