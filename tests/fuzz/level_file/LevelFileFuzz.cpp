// The bytes as a level file's text: the reading steps and the route building
// (no path cache), then a route from every spawn point to the goal, every
// link walked and every stored lane walked. One level object serves every
// input, as the game's does.
#include "Game/Data/NQParamSet.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Roads/PathWalk.h"
#include "Platform/Bass/StandIn.h"

#include "support/ScratchFolder.h"
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
NQMap* Level()
{
    static NQMap* map = [] {
        // Built on a scratch data root and user folder, so that nothing of the
        // real ones is read or written; then back to the folder libFuzzer
        // names its corpus from. The inputs read no files but a path cache,
        // which the folder does not hold.
        const std::string folder = hvtest::MakeScratchFolder("/tmp/hvfuzz-level-XXXXXX");
        char* previous = getcwd(nullptr, 0);
        if (!previous || chdir(folder.c_str()) != 0 || setenv("XDG_DATA_HOME", folder.c_str(), 1) != 0)
            abort();
        bass::UseManualOutput();
        NQMap* level = new NQMap;
        game::testing::SetRunningMap(level);
        if (chdir(previous) != 0)
            abort();
        free(previous);
        return level;
    }();
    return map;
}

// A bounded walk, as an enemy walks.
float Walk(const std::vector<NQPathSample*>& lane)
{
    float sink = 0.0f;
    float u = 0.0f;
    for (int step = 0; step < 64 && u < 1.0f; ++step)
    {
        const CurvePoint point = NQMap::GetPathPoint(lane, u);
        sink += point.x + point.y;
        u = AdvancePathProgress(lane, u, 9.0f);
    }
    return sink;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NQMap* map = Level();
    std::string picture;
    map->ReadLevelText(std::string(reinterpret_cast<const char*>(data), size), picture);
    map->BuildRoutes();

    volatile float sink = 0.0f;
    NQPoint* goal = map->FindGoalPoint();
    for (NQPoint* point : *map->mPoints)
        if (goal && point->mParams->GetFloat("spawn") == 1.0f)
            sink = sink + float(map->FindRoute(point, goal).size());
    for (const NQLink* link : *map->mLinks)
    {
        sink = sink + map->GetLinkLength(link);
        float t = 0.0f;
        for (int stamp = 0; stamp < 100 && t < 1.0f; ++stamp)
            t = map->AdvanceOnLink(link, t, 25.0f, 20.0f);
    }
    for (const NQLinkLanes* entry : *map->mLanePaths)
        for (const auto& [offset, lane] : entry->mLanes)
            sink = sink + Walk(lane);
    return 0;
}
