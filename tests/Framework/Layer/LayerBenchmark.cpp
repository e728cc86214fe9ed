// A scene of 2,000 image layers in a 40 x 50 grid: one pointer move hit-tested
// over it (bounds update included) and one render of it into the recording
// renderer.
#include "Framework/Layer/HitTestListener.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/RectHitLayer.h"
#include "RecordingRender.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{
class OpaqueTexture : public rendertest::FakeTexture
{
public:
    OpaqueTexture(render::Render* r, int w, int h) : FakeTexture(r)
    {
        mWidth = w;
        mHeight = h;
    }
    bool GetMaskBit(int32_t, int32_t) const override { return true; }
};

struct Scene
{
    Scene()
    {
        render.Init(1024, 768);
        root.SetRect(0, 0, 1024, 768);
        root.mHitListener = &listener;
        for (int row = 0; row < 50; ++row)
        {
            for (int column = 0; column < 40; ++column)
            {
                auto l = std::make_unique<layer::ImageLayer>(new render::Image(new OpaqueTexture(&render, 20, 12)), true);
                l->SetPosition(float(column) * 25.0f, float(row) * 15.0f, 0.0f);
                root.AddChild(l.get());
                layers.push_back(std::move(l));
            }
        }
    }

    rendertest::RecordingRender render;
    layer::RectHitLayer root;
    layer::HitTestListener listener;
    std::vector<std::unique_ptr<layer::ImageLayer>> layers;
};

void BM_MoveOverGrid(benchmark::State& state)
{
    Scene scene;
    bool handled = false;
    float x = 0.0f;
    for (auto _ : state)
    {
        // Sweep the pointer so that different cells take the hit.
        x = x >= 990.0f ? 0.0f : x + 7.0f;
        scene.root.StartHitTest(math::Vector3(x, 380.0f, 0.0f), layer::OnMouseMove{}, handled);
        benchmark::DoNotOptimize(handled);
    }
}
BENCHMARK(BM_MoveOverGrid)->Unit(benchmark::kMicrosecond);

void BM_MoveOverGridAfterAMove(benchmark::State& state)
{
    Scene scene;
    bool handled = false;
    float y = 0.0f;
    for (auto _ : state)
    {
        // One cell moves each time: its box and the root's are recomputed.
        y = y > 0.0f ? 0.0f : 1.0f;
        scene.layers[777]->SetY(y);
        scene.root.StartHitTest(math::Vector3(500.0f, 380.0f, 0.0f), layer::OnMouseMove{}, handled);
        benchmark::DoNotOptimize(handled);
    }
}
BENCHMARK(BM_MoveOverGridAfterAMove)->Unit(benchmark::kMicrosecond);

void BM_RenderGrid(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state)
    {
        scene.render.BeginFrame();
        {
            render::Graphics g(&scene.render);
            scene.root.Render(&g);
        }
        scene.render.EndFrame();
        scene.render.Present();
        scene.render.mCalls.clear();
        scene.render.ExecuteCommands();
    }
}
BENCHMARK(BM_RenderGrid)->Unit(benchmark::kMicrosecond);
} // namespace
