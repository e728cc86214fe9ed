#include "DataRootFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Game/Data/LocalStrings.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
constexpr int kLines = 5000;

// LocalStrings::Load of a 5,000-line strings file.
void LoadStrings(benchmark::State& state)
{
    gametest::DataRoot data;
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "key_" + std::to_string(i) + "; The text of line " + std::to_string(i) + "\\nsecond part;note\r\n";
    data.Write("nq/big.csv", text);
    for (auto _ : state)
    {
        LocalStrings::Table table;
        benchmark::DoNotOptimize(table);
        LocalStrings::Instance()->Load(L"nq/big.csv");
        benchmark::ClobberMemory();
    }
    base::testing::TeardownSingletonsNow();
}
BENCHMARK(LoadStrings)->Unit(benchmark::kMillisecond);
} // namespace
