// Cost of one formatted number and of one log entry.
#include "Core/Base/Format.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"

#include <benchmark/benchmark.h>

namespace
{
void FormatInt(benchmark::State& state)
{
    int32_t value = 12345;
    for (auto _ : state)
    {
        base::Format f(L"%d");
        f % value++;
        benchmark::DoNotOptimize(f.GetText().data());
    }
}
BENCHMARK(FormatInt);

void FormatFloat(benchmark::State& state)
{
    float value = 3.14159f;
    for (auto _ : state)
    {
        base::Format f(L"%.2f");
        f % value;
        value += 0.01f;
        benchmark::DoNotOptimize(f.GetText().data());
    }
}
BENCHMARK(FormatFloat);

void DefaultFormatterInt(benchmark::State& state)
{
    int32_t value = 12345;
    for (auto _ : state)
    {
        base::Format f;
        f % value++;
        benchmark::DoNotOptimize(f.GetText().data());
    }
}
BENCHMARK(DefaultFormatterInt);

// A plain output that only keeps the length, so the entry itself is measured.
class CountingOutput : public base::LogOutput
{
public:
    void Write(const std::wstring& text) override { mCharacters += text.size(); }
    size_t mCharacters = 0;
};

void LogEntryOnePlainOutput(benchmark::State& state)
{
    base::MainLog& log = *base::MainLog::Instance();
    auto* output = new CountingOutput();
    log.AddTextOutput(output);
    int32_t value = 0;
    for (auto _ : state)
    {
        HV_LOG(L"LOADED ENEMY WAVE=(timeout=%d, spawner=%d)\n").SetStyle(base::LogBlockStyle()) % value++ % int32_t(3);
    }
    benchmark::DoNotOptimize(output->mCharacters);
}
BENCHMARK(LogEntryOnePlainOutput);
} // namespace
