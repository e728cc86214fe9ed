// One emitter of 2,000 live particles drawn through the draw context: the
// full list and vertex walk of ParticleEmitter::Draw into the streaming
// caches, recorded by a renderer without a device.

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Vertices.h"
#include "Platform/Magic/Magic.h"
#include "RecordingRender.h"

#include <benchmark/benchmark.h>

namespace
{
const char* const kBusy =
    "<particles version=\"1\"><atlas file=\"a.png\"/><emitter name=\"busy\" interval2=\"1000\" "
    "shape=\"circle\" shape_w=\"40\"><type rate=\"2000\" life=\"1000\" max=\"2000\" speed=\"60\" "
    "gravity_y=\"30\" spin=\"90\" size0=\"8\" size1=\"2\"/></emitter></particles>";

void BM_DrawEmitter2000(benchmark::State& state)
{
    render::RegisterVertexFormats();
    rendertest::RecordingRender r;
    if (r.Init(1024, 768) != HV_OK)
    {
        state.SkipWithError("renderer");
        return;
    }
    const int file = Magic_OpenFileInMemory(kBusy);
    render::ParticleEmitter prototype(Magic_LoadEmitter(file, "busy"));
    render::ParticleEmitter emitter(prototype);
    emitter.SetLoopMode(1);
    emitter.SetState(1);
    emitter.Update(2.0); // steady state: as many births as deaths
    // Lists without an atlas picture are skipped: give atlas 0 one.
    render::ParticleSystem::Instance()->mAtlases = {new render::Image(new rendertest::FakeTexture(&r))};
    int drawn = 0;
    for (auto _ : state)
    {
        r.BeginFrame();
        {
            render::Graphics context(&r);
            auto record = context.DrawParticles(&emitter);
            record->mCountOut = &drawn;
        }
        r.EndFrame();
        r.ExecuteCommands();
        r.mCalls.clear();
    }
    state.counters["particles"] = drawn;
    render::ParticleSystem::Instance()->ReleaseTextures();
}
BENCHMARK(BM_DrawEmitter2000);
} // namespace
