// Decode throughput of psdr_load on a 2048 x 2048 RGB document with alpha and
// four full-canvas layers, run-length and zip variants. The documents are left
// in the temporary folder so other decoders can be timed on the same bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Psd/PsdTypes.h"
#include "PsdWriter.h"

namespace {

constexpr int kSide = 2048;

psdtest::Bytes Plane(int layer, int channel) {
    psdtest::Bytes p(size_t(kSide) * kSide);
    uint32_t s = uint32_t(layer * 7 + channel + 1);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint8_t v = 0;
            switch (layer) {
            case 0: v = uint8_t((x + y * channel) >> 3); break;                       // gradients
            case 1: s = s * 1103515245u + 12345u; v = uint8_t(s >> 16); break;        // noise
            case 2: v = ((x / 64 + y / 64) % 2) ? uint8_t(40 * channel) : 200; break; // blocks
            default: v = uint8_t((x * x + y * y) >> (8 + channel)); break;            // rings
            }
            if (channel == 3) v = (layer == 1) ? 255 : uint8_t(x < kSide / 2 ? 255 : (y & 0xFF));
            p[size_t(y) * kSide + size_t(x)] = v;
        }
    return p;
}

std::string WriteDocument(int compression) {
    psdtest::Document d;
    d.width = d.height = kSide;
    d.channels = 4;
    for (int layer = 0; layer < 4; ++layer) {
        psdtest::Layer l;
        l.right = l.bottom = kSide;
        l.name = "layer" + std::to_string(layer);
        l.channels.push_back({-1, Plane(layer, 3), compression});
        for (int c = 0; c < 3; ++c) l.channels.push_back({int16_t(c), Plane(layer, c), compression});
        d.layers.push_back(l);
    }
    d.merged_compression = compression;
    d.merged = {Plane(0, 0), Plane(0, 1), Plane(0, 2), Plane(0, 3)};
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir ? dir : "/tmp") + (compression == 1 ? "/psd_bench_rle.psd" : "/psd_bench_zip.psd");
    psdtest::Bytes bytes = d.Bytes_();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

void BM_PsdLoad(benchmark::State& state) {
    static const std::string paths[2] = {WriteDocument(1), WriteDocument(2)};
    const std::string& path = paths[state.range(0)];
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    for (auto _ : state) {
        psdr_image* image = nullptr;
        if (psdr_load(&image, path.c_str()) != PSDR_OK) {
            state.SkipWithError("load failed");
            break;
        }
        psdr_free(image);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    // Four layers and the merged image.
    state.counters["Mpx/s"] = benchmark::Counter(double(state.iterations()) * 5 * kSide * kSide / 1e6,
                                                 benchmark::Counter::kIsRate);
    state.SetLabel(path);
}

}  // namespace

BENCHMARK(BM_PsdLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
