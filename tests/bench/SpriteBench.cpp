// Frame time of many alpha-blended sprites drawn through the draw context
// into the Direct3D 9 stand-in in a shown window, presented every frame.
//
//   sprite_bench [COUNT | fill] [FRAMES]
//
// COUNT images (default 10000) of one 64x64 circle picture at fixed random
// places, shifted by (frame & 7) pixels each frame; `fill` draws instead
// 39 full-window blended images, about the pixels of 10,000 sprites: the
// fill-rate reference. Prints milliseconds per frame, device draw calls per
// frame and bytes uploaded per frame, and the process's processor time (all
// threads; the share of the drawing thread, whose work the rasteriser's
// threads wait for) and page faults per frame, steadier than the clock on a
// loaded machine. Without a display, run it under
// `xvfb-run -s "-screen 0 1366x768x24"` (or SDL_VIDEODRIVER=offscreen).
#include "Core/App/Window.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/Vertices.h"
#include "Platform/D3D9/TestSupport.h"

#include <epoxy/gl.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int kWidth = 1366;
constexpr int kHeight = 768;
constexpr int kSpriteSide = 64;
constexpr int kCircleRadius = 30;
constexpr uint32_t kInsideArgb = 0xC8FFFFFFu; // alpha 200
constexpr int kWarmUpFrames = 5;
constexpr int kDefaultFrames = 60;
constexpr int kDefaultCount = 10000;
// 39 windows of 1366 x 768 are about 10,000 sprites of 64 x 64.
constexpr int kFillQuads = 39;
constexpr int kShiftMask = 7;

// A picture of one colour inside a circle and transparent outside, or of
// one colour everywhere.
class Picture : public render::ImageData
{
public:
    Picture(int width, int height, bool circle) : mCircle(circle)
    {
        mWidth = width;
        mHeight = height;
    }
    HVResultEnum Load(base::Stream*, const wchar_t*) override { return HV_OK; }
    HVResultEnum Decode(uint32_t pitch, void* destination, render::HitMask* mask) override
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
            {
                const int dx = x - mWidth / 2, dy = y - mHeight / 2;
                const bool inside = !mCircle || dx * dx + dy * dy <= kCircleRadius * kCircleRadius;
                const uint32_t argb = inside ? kInsideArgb : 0u;
                std::memcpy(static_cast<unsigned char*>(destination) + size_t(y) * pitch + size_t(x) * 4, &argb, 4);
                mask->Set(uint32_t(x + y * mWidth), inside);
            }
        return HV_OK;
    }

private:
    bool mCircle;
};

struct Usage
{
    double cpuMs = 0;
    double mainThreadMs = 0;
    double faults = 0;
};

Usage ProcessUsage()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    timespec thread{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &thread);
    return {ms(usage.ru_utime) + ms(usage.ru_stime), double(thread.tv_sec) * 1000.0 + double(thread.tv_nsec) / 1e6,
            double(usage.ru_minflt + usage.ru_majflt)};
}

struct Scene
{
    bool Start(bool fill)
    {
        render::RegisterVertexFormats();
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = L"SpriteBench";
        RegisterClassExW(&windowClass);
        HWND hwnd = CreateWindowExW(0, L"SpriteBench", L"sprite_bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                    kHeight, nullptr, nullptr, nullptr, nullptr);
        if (!hwnd)
            return false;
        ShowWindow(hwnd, SW_SHOW);
        window = std::make_unique<app::Window>(nullptr, false, false, false);
        window->mHandle = hwnd;
        renderer = std::make_unique<render::RenderDX9>();
        // As fast as the device goes, whatever the display's pace.
        renderer->SetPresentInterval(D3DPRESENT_INTERVAL_IMMEDIATE);
        render::RenderInitParam param;
        param.mWidth = kWidth;
        param.mHeight = kHeight;
        if (renderer->InitRender(window.get(), param) != HV_OK)
            return false;
        auto* texture = new render::TextureDX9(renderer.get());
        Picture picture = fill ? Picture(kWidth, kHeight, false) : Picture(kSpriteSide, kSpriteSide, true);
        if (texture->CreateFromImage(&picture) != HV_OK)
        {
            delete texture;
            return false;
        }
        image = std::make_unique<render::Image>(texture);
        return true;
    }

    ~Scene()
    {
        image.reset();
        renderer.reset();
        window.reset();
    }

    bool Frame(const std::vector<float>& places, int frame, bool fill)
    {
        if (renderer->BeginFrame() != HV_OK)
            return false;
        {
            render::Graphics g(renderer.get());
            const float background[4] = {20 / 255.0f, 30 / 255.0f, 40 / 255.0f, 1.0f};
            g.Clear(1, background, 1.0f, 0);
            g.SetBlendMode(1);
            const float shift = float(frame & kShiftMask);
            if (fill)
                for (int i = 0; i < kFillQuads; ++i)
                {
                    const float at[2] = {0, 0};
                    g.DrawImage(*image).Translate(at);
                }
            else
                for (size_t i = 0; i < places.size(); i += 2)
                {
                    const float at[2] = {places[i] + shift, places[i + 1]};
                    g.DrawImage(*image).Translate(at);
                }
        }
        return renderer->EndFrame() == HV_OK && renderer->ExecuteCommands() == HV_OK &&
               renderer->Present() == HV_OK;
    }

    std::unique_ptr<app::Window> window;
    std::unique_ptr<render::RenderDX9> renderer;
    std::unique_ptr<render::Image> image;
};
} // namespace

int main(int argc, char** argv)
{
    const bool fill = argc > 1 && std::string(argv[1]) == "fill";
    const int count = argc > 1 && !fill ? std::atoi(argv[1]) : kDefaultCount;
    const int frames = argc > 2 ? std::atoi(argv[2]) : kDefaultFrames;
    if (count <= 0 || frames <= 0)
    {
        std::fprintf(stderr, "usage: sprite_bench [COUNT | fill] [FRAMES]\n");
        return 2;
    }
    Scene scene;
    if (!scene.Start(fill))
    {
        std::fprintf(stderr, "sprite_bench: the renderer did not start\n");
        return 1;
    }
    std::srand(1);
    std::vector<float> places;
    for (int i = 0; i < count; ++i)
    {
        places.push_back(float(std::rand() % (kWidth - kSpriteSide)));
        places.push_back(float(std::rand() % (kHeight - kSpriteSide)));
    }
    for (int frame = 0; frame < kWarmUpFrames; ++frame)
        if (!scene.Frame(places, frame, fill))
            return 1;
    glFinish();
    d3d9test::ResetCounters(scene.renderer->GetDevice());
    const Usage before = ProcessUsage();
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < frames; ++frame)
        if (!scene.Frame(places, kWarmUpFrames + frame, fill))
            return 1;
    // The software rasteriser may still be working on the last frame.
    glFinish();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const Usage after = ProcessUsage();
    const d3d9::DeviceCounters counters = d3d9test::Counters(scene.renderer->GetDevice());
    std::printf("%s: %.2f ms/frame, %.1f draw calls/frame, %.0f bytes uploaded/frame, %.2f cpu ms/frame, "
                "%.2f of them on the drawing thread, %.0f page faults/frame (%d frames, back buffer %s)\n",
                fill ? "fill" : (std::to_string(count) + " sprites").c_str(), ms / frames,
                double(counters.drawCalls) / frames, double(counters.bytesUploaded) / frames,
                (after.cpuMs - before.cpuMs) / frames, (after.mainThreadMs - before.mainThreadMs) / frames,
                (after.faults - before.faults) / frames, frames,
                d3d9test::BackBufferInWindow(scene.renderer->GetDevice()) ? "in the window" : "offscreen");
    return 0;
}
