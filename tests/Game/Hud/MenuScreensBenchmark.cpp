// One frame of the episode select with ten pages while a drag moves them
// (Update plus Draw into the quad recorder), and one RebuildPlates of a
// 21-level episode on the level select.
#include "MenuScreensFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDPager.h"
#include "Game/Level/NQMap.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr int kEpisodes = 10;
constexpr int kLevels = 21;
// The pointer sweeps this far each way while the drag lasts.
constexpr int kSweep = 200;

class MenuRun : public gametest::MenuScreensTest
{
public:
    void TestBody() override {}
    void Start()
    {
        SetUp();
        WriteLayout("nq/episode_select", gametest::EpisodeSelectLayers(kEpisodes));
        Map()->mEpisodeSetup.clear();
        for (int e = 0; e < kEpisodes; ++e)
            Map()->mEpisodeSetup[e] = {kLevels, 2, e * 10};
        // Half the levels of the first episode starred, so plates of every kind show.
        for (int level = 0; level < kLevels / 2; ++level)
            SetStars(0, level, 1, 1 + level % 3);
    }
    void Stop()
    {
        while (Hud()->HasWindows())
            Hud()->CloseTopWindow();
        TearDown();
    }
    template <class W>
    W* Show(void (HUD::*show)())
    {
        (Hud()->*show)();
        Step();
        return TopAs<W>();
    }
    using gametest::MenuScreensTest::Map;
    using gametest::MenuScreensTest::Record;
};

void EpisodeSelectDragFrame(benchmark::State& state)
{
    MenuRun run;
    run.Start();
    HUDEpisodeSelectIOS* screen = run.Show<HUDEpisodeSelectIOS>(&HUD::ShowEpisodeSelect);
    screen->mPager->mCurrentPage = kEpisodes / 2;
    screen->OnMouseDown(500, 400);
    screen->OnMouseMove(500, 400);
    int x = 500;
    int step = 4;
    size_t quads = 0;
    for (auto _ : state)
    {
        x += step;
        if (x > 500 + kSweep || x < 500 - kSweep)
            step = -step;
        screen->OnMouseMove(x, 400);
        screen->Update(kFrameTime);
        quads = run.Record([&](render::Graphics* g) { screen->Draw(g); }).size();
    }
    state.counters["quads"] = double(quads);
    run.Stop();
}
BENCHMARK(EpisodeSelectDragFrame)->Unit(benchmark::kMicrosecond);

void LevelSelectRebuildPlates(benchmark::State& state)
{
    MenuRun run;
    run.Start();
    run.Map()->mEpisode = 0;
    run.Map()->mMode = 1;
    HUDLevelSelect* screen = run.Show<HUDLevelSelect>(&HUD::ShowLevelSelect);
    for (auto _ : state)
        screen->RebuildPlates();
    state.counters["plates"] = double(screen->mPlates.size());
    run.Stop();
}
BENCHMARK(LevelSelectRebuildPlates)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
