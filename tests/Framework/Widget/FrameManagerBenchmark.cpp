// A board holding 2,000 image layers in a 40 x 50 grid, open in a frame
// manager: one pointer move routed through the manager (bounds update and
// hover included) and one draw of the open frames into the recording renderer.
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Widget/BaseBoard.h"
#include "Framework/Widget/FrameManager.h"
#include "RecordingRender.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{
// A 20 x 12 picture with a transparent mask: the cell under the pointer is
// asked, then the hit falls through to the board itself.
render::Image* Picture(render::Render* r)
{
    auto* texture = new rendertest::FakeTexture(r);
    texture->CreateRenderTarget(20, 12);
    return new render::Image(texture);
}

struct BoardScene
{
    BoardScene()
    {
        render.Init(1024, 768);
        board.SetHitRect(0, 0, 1024, 768);
        for (int cell = 0; cell < 2000; ++cell)
        {
            layers.push_back(std::make_unique<layer::ImageLayer>(Picture(&render), true));
            layers.back()->SetPosition(float(cell % 40) * 25.0f, float(cell / 40) * 15.0f, 0.0f);
            board.mLayer->AddChild(layers.back().get());
        }
        manager.OpenFrame(&board, false, true, false);
    }
    ~BoardScene() { manager.CloseAll(false, false); }

    rendertest::RecordingRender render;
    widget::BaseBoard board;
    std::vector<std::unique_ptr<layer::ImageLayer>> layers;
    widget::FrameManager manager;
};

void BM_FrameManagerMoveOverBoard(benchmark::State& state)
{
    BoardScene scene;
    float x = 0.0f;
    for (auto _ : state)
    {
        // Sweep the pointer so that different cells take the hit.
        x = x >= 990.0f ? 0.0f : x + 7.0f;
        benchmark::DoNotOptimize(scene.manager.OnMouseMove(input::Point{x, 380.0f}));
    }
}
BENCHMARK(BM_FrameManagerMoveOverBoard)->Unit(benchmark::kMicrosecond);

void BM_FrameManagerDrawBoard(benchmark::State& state)
{
    BoardScene scene;
    for (auto _ : state)
    {
        scene.render.BeginFrame();
        {
            render::Graphics g(&scene.render);
            benchmark::DoNotOptimize(scene.manager.Draw(&g));
        }
        scene.render.EndFrame();
        scene.render.Present();
        scene.render.mCalls.clear();
        scene.render.ExecuteCommands();
    }
}
BENCHMARK(BM_FrameManagerDrawBoard)->Unit(benchmark::kMicrosecond);
} // namespace
