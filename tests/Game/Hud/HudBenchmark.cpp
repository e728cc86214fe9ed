// One frame of the HUD on the fixture "nq/ui" (20 panel pictures, 8 buttons,
// 4 counters, 5 spell buttons of which two cool down) with three open
// windows: HUD::Update, HUD::Draw and both DrawWindows into the recording
// back end.
#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Level/NQMap.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr int kSpellButtons = 5;
constexpr int kCoolingButtons = 2;
constexpr int kWindows = 3;

// The front-end fixture driven by hand, outside a test.
class HudRun : public gametest::FrontEndTest
{
public:
    void TestBody() override {}
    void Start()
    {
        SetUp();
        WriteLayout("nq/ui", gametest::PanelLayers(20));
        WriteLayout("ui/window", {{"bg", 100, 100, 400, 300, 0xFF203040u},
                                  {"button/close", 450, 110, 40, 40, 0xFF808080u},
                                  {"text/caption", 120, 120, 300, 40, 0, 2, false}});
        Map()->mScreenState = screen::kPlaying;
        Map()->mSpeed = 1.0f;
        for (int slot = 0; slot < kSpellButtons; ++slot)
            AddSpell(slot, 3001 + slot, 1e6f);
        hud = std::make_unique<HUD>();
        for (int slot = 0; slot < kSpellButtons; ++slot)
            hud->AddSpellButton(slot);
        for (int n = 0; n < kCoolingButtons; ++n)
            hud->mSpellButtons[size_t(n)]->StartCooldown();
        hud->UpdateGemsText();
        hud->UpdateGoldText();
        hud->UpdateLivesText();
        hud->UpdateWavesText();
        for (int n = 0; n < kWindows; ++n)
        {
            auto* window = new HUDWindow(L"ui/window");
            window->SetText(L"caption", L"Caption " + std::to_wstring(n));
            window->mLayer = n == kWindows - 1 ? HUDWindow::kModalLayer : HUDWindow::kScreenLayer;
            hud->PushWindow(window);
        }
        hud->Update(0.0f);
    }
    void Stop()
    {
        hud.reset();
        TearDown();
    }
    std::vector<gametest::RecordedQuad> Frame()
    {
        hud->Update(kFrameTime);
        return Record([&](render::Graphics* g) {
            hud->Draw(g);
            hud->DrawWindows(g, HUDWindow::kScreenLayer);
            hud->DrawWindows(g, HUDWindow::kModalLayer);
        });
    }

    std::unique_ptr<HUD> hud;
};

void HudFrame(benchmark::State& state)
{
    HudRun run;
    run.Start();
    size_t quads = 0;
    for (auto _ : state)
        quads = run.Frame().size();
    state.counters["quads"] = double(quads);
    run.Stop();
}
BENCHMARK(HudFrame)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
