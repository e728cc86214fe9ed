#include "Core/Base/SingletoneRegistry.h"
#include "Framework/Gui/PackBuilder.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
// Building, verification included, over about 2,000 files and 100 MB.
void BuildPackThroughput(benchmark::State& state)
{
    hvtest::TempFolder dir;
    hvtest::CurrentDirectory cd(dir.Folder());
    constexpr int kFiles = 2000;
    int64_t bytes = 0;
    for (int i = 0; i < kFiles; ++i)
    {
        // Sizes from 1 KB to about 100 KB, averaging 50 KB.
        const size_t size = 1024 + size_t(i * 7919 % 100) * 1024;
        const std::string name = "nq/group" + std::to_string(i % 40) + "/file" + std::to_string(i) + ".bin";
        dir.Write(name, std::string(size, char('a' + i % 26)));
        bytes += int64_t(size);
    }
    for (auto _ : state)
    {
        if (gui::BuildPack(L"nq/", L"data.dat") != HV_OK)
            state.SkipWithError("build failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["files"] = kFiles;
    state.counters["MB"] = double(bytes) / 1e6;
    base::testing::TeardownSingletonsNow();
}
BENCHMARK(BuildPackThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
