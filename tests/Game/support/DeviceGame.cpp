#include "DeviceGame.h"

#include "PictureFixtures.h"

#include "Core/App/Window.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Vertices.h"
#include "Core/Resource/ResourceManager.h"
#include "Platform/D3D9/TestSupport.h"

#include <fstream>
#include <unistd.h>

namespace gametest
{
namespace
{
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr int kClearTarget = 1;
constexpr float kChannel = 255.0f;

float Channel(uint32_t argb, int shift)
{
    return float((argb >> shift) & 0xFFu) / kChannel;
}
} // namespace

std::unique_ptr<app::Window> MakeHiddenWindow()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"DeviceGame";
    RegisterClassExW(&windowClass);
    HWND handle = CreateWindowExW(0, L"DeviceGame", L"device game", WS_POPUP, 0, 0, int(DeviceGame::kWidth),
                                  int(DeviceGame::kHeight), nullptr, nullptr, nullptr, nullptr);
    if (!handle)
        return nullptr;
    // The window object only answers whether drawing is possible; it owns the handle.
    auto window = std::make_unique<app::Window>(nullptr, false, false, false);
    window->mHandle = handle;
    window->mWindowed = true;
    return window;
}

DeviceGame::DeviceGame(app::Window* window, LevelSource level) : Game(std::move(level))
{
    render::RegisterVertexFormats();
    auto* device = new render::RenderDX9;
    // Scenes and benchmarks draw as fast as the device goes.
    device->SetPresentInterval(D3DPRESENT_INTERVAL_IMMEDIATE);
    mRender = device;
    if (!window)
        return; // no window: nothing draws
    render::RenderInitParam param;
    param.mWidth = kWidth;
    param.mHeight = kHeight;
    param.mWindowed = true;
    mReady = device->InitRender(window, param) == HV_OK;
}

render::RenderDX9* DeviceGame::Device() const
{
    return static_cast<render::RenderDX9*>(mRender);
}

bool DeviceGame::LoadMobShader()
{
    resource::ResourceHandle<TMobShader> shader = resource::ResourceManager::Instance()->Get<TMobShader>(kMobShaderName);
    if (!shader || shader->SetRender(mRender) != HV_OK || shader->Load() != HV_OK)
        return false;
    mMobShader = shader;
    return true;
}

HVResultEnum DeviceGame::DrawFrame(const std::function<void(render::Graphics*)>& draw, uint32_t clearArgb)
{
    render::RenderDX9* device = Device();
    if (!mReady || !device->CheckDeviceReady())
        return HV_FAIL;
    HVResultEnum result = device->BeginFrame();
    if (result != HV_OK)
        return result;
    {
        render::Graphics graphics(device);
        const float colour[4] = {Channel(clearArgb, 16), Channel(clearArgb, 8), Channel(clearArgb, 0),
                                 Channel(clearArgb, 24)};
        graphics.Clear(kClearTarget, colour, 1.0f, 0);
        draw(&graphics);
    }
    if ((result = device->EndFrame()) != HV_OK || (result = device->Present()) != HV_OK)
        return result;
    return device->ExecuteCommands();
}

bool DeviceGame::ReadBackBuffer(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height) const
{
    UINT w = 0;
    UINT h = 0;
    argb.clear();
    if (!mReady || !d3d9test::ReadPixels(Device()->GetBackBuffer(), argb, w, h))
        return false;
    width = w;
    height = h;
    return true;
}

bool WritePng(const std::string& path, uint32_t width, uint32_t height, std::vector<uint32_t> argb)
{
    for (uint32_t& pixel : argb)
        pixel |= kOpaque;
    const fixtures::Bytes png = fixtures::MakePng(int(width), int(height), argb);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(out);
}

std::string ProgramFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string exe(path, size_t(n));
    return exe.substr(0, exe.find_last_of('/'));
}
} // namespace gametest
