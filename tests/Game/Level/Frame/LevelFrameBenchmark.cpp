// One frame of the running level: NQMap::Update and NQMap::Draw (recording
// only) with 300 enemies, 40 towers, 100 decorations and 50 beams.
#include "BenchmarkBattle.h"
#include "QuadRecorder.h"

#include "Game/Data/NQFrameEntry.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{
namespace units = gametest::units;
namespace towers = gametest::towers;

constexpr float kFrame = gametest::BenchmarkBattle::kFrame;
constexpr int kEnemies = 300;
constexpr int kTowers = 40;
constexpr int kDecorations = 100;
constexpr int kBeams = 50;
constexpr int kFramesPerRound = 300;

class BenchmarkLevel : public gametest::BenchmarkBattle
{
public:
    void Step() { map->Update(kFrame); }
    void Draw()
    {
        Recorder()->Record([&](render::Graphics* g) { map->Draw(g); });
    }

    void Fill()
    {
        std::string spots;
        for (int i = 0; i < kTowers; ++i)
            spots += gametest::SpotXml(60.0f + 24.0f * float(i), i % 2 ? 250.0f : 520.0f);
        StartLongRoad(spots);
        map->mEconomy->mGold = 1000000;
        for (int i = 0; i < kTowers; ++i)
            BuildOn(i, i % 2 ? towers::kArrow : towers::kCannon);
        for (int i = 0; i < kEnemies; ++i)
            SpawnWalker(units::kTank);
        for (int i = 0; i < kDecorations; ++i)
        {
            auto* frame = new NQFrameEntry;
            frame->mName = i % 3 ? L"d" : L"^d";
            frame->mRect[0] = float(i * 10);
            map->mDecorationSet->mFrames.push_back(frame);
        }
        for (int i = 0; i < kBeams; ++i)
            map->mParticles.push_back(
                new NQBeamParticle(float(i * 20), 100.0f, Enemies()[size_t(i)], "t_line"));
    }

    // The walkers back to their starts, and the level still running.
    void PutBack()
    {
        BenchmarkBattle::PutBack();
        map->mLives = map->mMaxLives;
        map->mScreenState = screen::kPlaying;
    }
};

void LevelFrameUpdate(benchmark::State& state)
{
    BenchmarkLevel level;
    level.Open();
    level.Fill();
    int frames = 0;
    for (auto _ : state)
    {
        level.Step();
        if (++frames % kFramesPerRound == 0)
        {
            state.PauseTiming();
            level.PutBack();
            state.ResumeTiming();
        }
    }
    level.Close();
}
BENCHMARK(LevelFrameUpdate)->Unit(benchmark::kMicrosecond);

void LevelFrameDraw(benchmark::State& state)
{
    BenchmarkLevel level;
    level.Open();
    level.Fill();
    level.Step();
    for (auto _ : state)
        level.Draw();
    level.Close();
}
BENCHMARK(LevelFrameDraw)->Unit(benchmark::kMicrosecond);
} // namespace
