// One frame of the open options dialog on the fixture "nq/options" with both
// sliders gliding: the frame manager's update (every control's Update) and
// its draw into the quad recorder.
#include "FrontEndFixture.h"
#include "RecordingRender.h"
#include "SkinnedLayouts.h"

#include "Core/Render/Graphics.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/VessikSlider.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr float kFrameTime = 1.0f / 60.0f;
// Long enough that no glide ends while measured.
constexpr float kGlideSeconds = 1e6f;

class OptionsRun : public gametest::FrontEndTest
{
public:
    void TestBody() override {}
    void Start()
    {
        rendertest::FakeTexture::sOpaque = true;
        SetUp();
        WriteLayout("nq/options", gametest::OptionsLayers());
        dialog = new OptionsDialog;
        dialog->Load();
        frames.PushDialog(dialog, false);
        frames.Update(0.0f);
        for (VessikSlider* slider : {dialog->mSoundSlider, dialog->mMusicSlider})
        {
            slider->mGlideStartX = slider->mThumbMinX;
            slider->mGlideTargetX = slider->mThumbMaxX;
            slider->mGlideDuration = kGlideSeconds;
        }
    }
    void Stop()
    {
        frames.CloseAll(true, false);
        frames.Update(0.0f);
        TearDown();
        rendertest::FakeTexture::sOpaque = false;
    }
    size_t Frame()
    {
        frames.Update(kFrameTime);
        return Record([&](render::Graphics* g) { frames.Draw(g); }).size();
    }

    widget::FrameManager frames;
    OptionsDialog* dialog = nullptr;
};

void OptionsDialogFrame(benchmark::State& state)
{
    OptionsRun run;
    run.Start();
    size_t quads = 0;
    for (auto _ : state)
        quads = run.Frame();
    state.counters["quads"] = double(quads);
    run.Stop();
}
BENCHMARK(OptionsDialogFrame)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
