// Cost of recording 1,000 image draws through the draw context in one
// frame: one picture (the draws merge) and two alternating pictures (every
// draw changes the texture).
#include "RecordingRender.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

#include <benchmark/benchmark.h>

namespace
{
void RecordImageDraws(benchmark::State& state, int pictures)
{
    rendertest::RecordingRender r;
    if (r.Init() != HV_OK)
        state.SkipWithError("renderer");
    render::Image* images[2];
    for (render::Image*& image : images)
    {
        auto* texture = new rendertest::FakeTexture(&r);
        texture->CreateRenderTarget(64, 64);
        image = new render::Image(texture);
    }
    for (auto _ : state)
    {
        r.BeginFrame();
        {
            render::Graphics g(&r);
            for (int i = 0; i < 1000; ++i)
            {
                const float at[2] = {float(i % 40) * 20, float(i / 40) * 20};
                g.DrawImage(*images[i % pictures]).Translate(at);
            }
        }
        r.EndFrame();
        state.PauseTiming();
        r.ExecuteCommands();
        r.mCalls.clear();
        state.ResumeTiming();
    }
    for (render::Image* image : images)
        delete image;
}

void RecordOnePicture(benchmark::State& state) { RecordImageDraws(state, 1); }
BENCHMARK(RecordOnePicture)->Unit(benchmark::kMicrosecond);

void RecordTwoPictures(benchmark::State& state) { RecordImageDraws(state, 2); }
BENCHMARK(RecordTwoPictures)->Unit(benchmark::kMicrosecond);
} // namespace
