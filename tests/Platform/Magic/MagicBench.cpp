// One emitter holding 2,000 live particles: the cost of a frame's update and
// of handing out every quad.

#include "Platform/Magic/Magic.h"

#include <benchmark/benchmark.h>

namespace {

int Busy() {
    static const char* kText =
        "<particles version=\"1\"><atlas file=\"a.png\"/><emitter name=\"busy\" interval2=\"1000\" "
        "shape=\"circle\" shape_w=\"40\"><type rate=\"2000\" life=\"1000\" max=\"2000\" speed=\"60\" "
        "gravity_y=\"30\" spin=\"90\" size0=\"8\" size1=\"2\"/></emitter></particles>";
    static int file = Magic_OpenFileInMemory(kText);
    int e = Magic_LoadEmitter(file, "busy");
    Magic_SetLoopMode(e, 1);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    Magic_Update(e, 2000);  // steady state: as many births as deaths
    return e;
}

int Live(int e) {
    int n = 0;
    MagicListRecord list{};
    for (Magic_CreateFirstRenderedParticlesList(e, &list); list.count > 0; Magic_CreateNextRenderedParticlesList(&list))
        n += list.count;
    return n;
}

void BM_Update2000(benchmark::State& state) {
    int e = Busy();
    for (auto _ : state)
        benchmark::DoNotOptimize(Magic_Update(e, 16.7));
    state.counters["live"] = Live(e);
    Magic_UnloadEmitter(e);
}
BENCHMARK(BM_Update2000);

void BM_WalkQuads2000(benchmark::State& state) {
    int e = Busy();
    MagicVertexRecord v;
    for (auto _ : state) {
        MagicListRecord list{};
        for (Magic_CreateFirstRenderedParticlesList(e, &list); list.count > 0;
             Magic_CreateNextRenderedParticlesList(&list))
            while (Magic_GetNextParticleVertexes(&v))
                benchmark::DoNotOptimize(v);
    }
    state.counters["live"] = Live(e);
    Magic_UnloadEmitter(e);
}
BENCHMARK(BM_WalkQuads2000);

}  // namespace
