// A level start on the fixture data with the loading picture presented: a
// small level with a road from its spawn point to its goal, so the start
// finds its routes as a real level's does.
#include "BattleData.h"
#include "GameFixture.h"

#include "Game/Level/NQMap.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace
{
constexpr int kHardcoreMode = 3;

// The game's start and every level start log to the debugger output
// (standard error): quiet, so the run shows its figures.
class QuietDebugOutput
{
public:
    QuietDebugOutput()
    {
        std::fflush(stderr);
        mSaved = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
        {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~QuietDebugOutput()
    {
        std::fflush(stderr);
        if (mSaved >= 0)
        {
            dup2(mSaved, STDERR_FILENO);
            close(mSaved);
        }
    }
    QuietDebugOutput(const QuietDebugOutput&) = delete;
    QuietDebugOutput& operator=(const QuietDebugOutput&) = delete;

private:
    int mSaved = -1;
};

// One game start for the whole run: the benchmark library would start the
// game again for each round of its own iteration search.
constexpr int kStarts = 100;

void StartLevel(benchmark::State& state)
{
    const QuietDebugOutput quiet;
    gametest::GameRun run;
    gametest::WriteGameContent(*run.data);
    gametest::GameRun::SupplyMonitor(1366, 768, 768);
    if (run.Start() != HV_OK || run.Frame() != HV_OK || !run.Map())
    {
        state.SkipWithError("the game did not start");
        return;
    }
    NQMap* map = run.Map();
    // No wave: each would log a line at every start.
    run.data->Write(gametest::LevelFilePath(map->mEpisode, map->mLevel, map->mMode == kHardcoreMode),
                    gametest::StraightLevelXml(""));
    for (auto _ : state)
    {
        map->StartLevel();
        gametest::CallLog().clear();
    }
}
BENCHMARK(StartLevel)->Iterations(kStarts)->Unit(benchmark::kMillisecond);
} // namespace
