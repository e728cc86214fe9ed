// NQTutorial::OnEvent over a 60-step script: every step reads its state from
// the player's profile on each event, none of them reacting.
#include "FrontEndFixture.h"

#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQMap.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kSteps = 60;

class TutorialRun : public gametest::FrontEndTest
{
public:
    TutorialRun() { realTutorial = true; }
    void TestBody() override {}
    NQTutorial* Start()
    {
        SetUp();
        std::string xml = "<tutorial>";
        for (int id = 0; id < kSteps; ++id)
        {
            const std::string n = std::to_string(id);
            xml += "<step id=\"" + std::to_string(100 + id) + "\" activate=\"go_" + n + "\" complete=\"done_" + n +
                   "\"><condition shop=\"-1\" episode=\"0\" level=\"" + n + "\"/><show folder=\"s" + n +
                   "\"/><cmds><cmd param=\"blockUI\" value=\"1\"/></cmds></step>";
        }
        data->Write("nq/tutorial.xml", xml + "</tutorial>");
        return NQTutorial::Instance();
    }
    void Stop() { TearDown(); }
};

void TutorialEvent(benchmark::State& state)
{
    TutorialRun run;
    NQTutorial* tutorial = run.Start();
    const std::wstring event = L"wave_1_spawned_0";
    for (auto _ : state)
        tutorial->OnEvent(event);
    state.counters["steps"] = double(tutorial->mSteps.size());
    state.SetItemsProcessed(int64_t(state.iterations()));
    run.Stop();
}
BENCHMARK(TutorialEvent)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
