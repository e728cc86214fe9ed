// Device draw calls and frame time for thousands of sprites drawn the way
// the image draw body records them.
#include "Core/App/Window.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/HitMask.h"
#include "Platform/D3D9/TestSupport.h"
#include "QuadDraw.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
class SolidImage : public render::ImageData
{
public:
    explicit SolidImage(uint32_t argb) : mArgb(argb)
    {
        mWidth = 8;
        mHeight = 8;
    }
    HVResultEnum Load(base::Stream*, const wchar_t*) override { return HV_OK; }
    HVResultEnum Decode(uint32_t pitch, void* destination, render::HitMask* mask) override
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
            {
                std::memcpy(static_cast<unsigned char*>(destination) + size_t(y) * pitch + size_t(x) * 4, &mArgb, 4);
                mask->Set(uint32_t(x + y * mWidth), true);
            }
        return HV_OK;
    }

private:
    uint32_t mArgb;
};

// Drops a recorded frame without replaying it, so that the recording alone is timed.
class BenchRender : public render::RenderDX9
{
public:
    void DropFrame() { ForgetFrame(); }
};

struct Scene
{
    Scene()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        render::RegisterVertexFormats();
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = L"RenderBench";
        RegisterClassExW(&windowClass);
        HWND hwnd = CreateWindowExW(0, L"RenderBench", L"bench", WS_POPUP, 0, 0, 1366, 768, nullptr, nullptr,
                                    nullptr, nullptr);
        window = std::make_unique<app::Window>(nullptr, false, false, false);
        window->mHandle = hwnd;
        renderer = std::make_unique<BenchRender>();
        // As fast as the device goes, whatever the display's pace.
        renderer->SetPresentInterval(D3DPRESENT_INTERVAL_IMMEDIATE);
        render::RenderInitParam param;
        param.mWidth = 1366;
        param.mHeight = 768;
        ok = hwnd && renderer->InitRender(window.get(), param) == HV_OK;
        for (int i = 0; ok && i < 16; ++i)
        {
            auto* texture = new render::TextureDX9(renderer.get());
            SolidImage image(0xFF000000u | uint32_t(i * 0x0F0F0F));
            ok = texture->CreateFromImage(&image) == HV_OK;
            textures.emplace_back(texture);
        }
    }
    ~Scene()
    {
        textures.clear();
        renderer.reset();
        window.reset();
    }

    // Textures: 0 one atlas, 1 two alternating, 2 sixteen in runs of 64.
    render::Texture* TextureFor(int layout, int i) const
    {
        switch (layout)
        {
        case 1: return textures[size_t(i % 2)].get();
        case 2: return textures[size_t((i / 64) % 16)].get();
        default: return textures[0].get();
        }
    }

    HVResultEnum Record(int layout, int count)
    {
        render::RenderState state;
        state.mBlendMode = 1;
        HVResultEnum result = renderer->BeginFrame();
        render::ShaderTextured* shader = renderer->GetTexturedMultShaderObject();
        for (int i = 0; result == HV_OK && i < count; ++i)
        {
            const float x = float((i * 7) % 1350), y = float((i * 13) % 750);
            result = rendertest::DrawQuad(*renderer, state, shader, TextureFor(layout, i), {x, y, x + 16, y + 16});
        }
        if (result == HV_OK)
            result = renderer->EndFrame();
        if (result == HV_OK)
            result = renderer->Present();
        return result;
    }

    std::unique_ptr<app::Window> window;
    std::unique_ptr<BenchRender> renderer;
    std::vector<std::unique_ptr<render::Texture>> textures;
    bool ok = false;
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

void Report(benchmark::State& state, Scene& scene, int count, uint64_t frames)
{
    const d3d9::DeviceCounters c = d3d9test::Counters(scene.renderer->GetDevice());
    state.counters["images"] = double(count);
    state.counters["draw_calls"] = frames ? double(c.drawCalls) / double(frames) : 0.0;
    state.counters["bytes_uploaded"] = frames ? double(c.bytesUploaded) / double(frames) : 0.0;
}

void BM_RecordOnly(benchmark::State& state)
{
    Scene& scene = TheScene();
    if (!scene.ok)
    {
        state.SkipWithError("renderer did not start");
        return;
    }
    const int layout = int(state.range(0));
    const int count = int(state.range(1));
    d3d9test::ResetCounters(scene.renderer->GetDevice());
    uint64_t frames = 0;
    for (auto _ : state)
    {
        if (scene.Record(layout, count) != HV_OK)
        {
            state.SkipWithError("recording failed");
            break;
        }
        scene.renderer->DropFrame();
        ++frames;
    }
    Report(state, scene, count, frames);
}

void BM_WholeFrame(benchmark::State& state)
{
    Scene& scene = TheScene();
    if (!scene.ok)
    {
        state.SkipWithError("renderer did not start");
        return;
    }
    const int layout = int(state.range(0));
    const int count = int(state.range(1));
    d3d9test::ResetCounters(scene.renderer->GetDevice());
    uint64_t frames = 0;
    std::vector<uint32_t> pixels;
    for (auto _ : state)
    {
        if (scene.Record(layout, count) != HV_OK || scene.renderer->ExecuteCommands() != HV_OK)
        {
            state.SkipWithError("frame failed");
            break;
        }
        // Reading back waits for the software rasteriser to finish.
        UINT w = 0, h = 0;
        d3d9test::ReadPixels(scene.renderer->GetBackBuffer(), pixels, w, h);
        benchmark::DoNotOptimize(pixels.data());
        ++frames;
    }
    Report(state, scene, count, frames);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int layout : {0, 1, 2})
        for (int count : {500, 1700, 5000, 10000})
            b->Args({layout, count});
    b->ArgNames({"layout", "images"});
    b->Unit(benchmark::kMillisecond);
}
} // namespace

BENCHMARK(BM_RecordOnly)->Apply(Sizes);
BENCHMARK(BM_WholeFrame)->Apply(Sizes);
