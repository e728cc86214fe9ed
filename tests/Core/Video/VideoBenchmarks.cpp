#include "Core/Base/MemoryStream.h"
#include "Core/Video/TheoraDecoder.h"
#include "Core/Video/YuvToRgb.h"
#include "tools/make_video/VideoWriter.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{
void BM_ConvertToRgb1024x768(benchmark::State& state)
{
    const int w = 1024, h = 768, stride = w + 32;
    std::vector<unsigned char> y(size_t(stride) * h), u(size_t(stride / 2) * h / 2), v(u.size());
    for (size_t i = 0; i < y.size(); ++i)
        y[i] = static_cast<unsigned char>(i * 7);
    for (size_t i = 0; i < u.size(); ++i)
    {
        u[i] = static_cast<unsigned char>(i * 3);
        v[i] = static_cast<unsigned char>(i * 5);
    }
    yuv_buffer yuv{w, h, stride, w / 2, h / 2, stride / 2, y.data(), u.data(), v.data()};
    std::vector<uint32_t> out(size_t(w) * h);
    for (auto _ : state)
    {
        video::ConvertYuvToArgb(yuv, w * 4, out.data(), w, h);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConvertToRgb1024x768)->Unit(benchmark::kMillisecond);

// Decode plus convert, per frame of a 640 x 480 pattern video.
void BM_DecodeAndConvert640x480(benchmark::State& state)
{
    videowriter::Options options;
    options.width = 640;
    options.height = 480;
    options.frames = 50;
    videowriter::OggFile file;
    std::string error;
    if (!videowriter::WriteVideo(options, &file, &error))
    {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<uint32_t> out(640 * 480);
    video::TheoraDecoder decoder;
    bool end = true;
    for (auto _ : state)
    {
        if (end)
        {
            state.PauseTiming();
            decoder.Open(new base::MemoryStream(file.bytes.data(), file.bytes.size()));
            state.ResumeTiming();
        }
        if (decoder.ReadFrame(&end) == 0 && !end)
            decoder.ConvertToRGB(640 * 4, out.data(), 640, 480);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeAndConvert640x480)->Unit(benchmark::kMillisecond);
} // namespace
