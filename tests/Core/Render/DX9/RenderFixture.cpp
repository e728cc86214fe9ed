#include "RenderFixture.h"

#include "Core/Base/Log.h"
#include "Core/Render/HitMask.h"
#include "Platform/D3D9/TestSupport.h"

#include <cstring>
#include <cstdlib>

namespace rendertest
{
HVResultEnum PixelImage::Decode(uint32_t pitch, void* destination, render::HitMask* mask)
{
    auto* bytes = static_cast<unsigned char*>(destination);
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
        {
            const uint32_t p = mPixels[size_t(y * mWidth + x)];
            std::memcpy(bytes + size_t(y) * pitch + size_t(x) * 4, &p, 4);
            mask->Set(uint32_t(x + y * mWidth), (p >> 24) >= 10);
        }
    return HV_OK;
}

int CountLog(const std::wstring& text)
{
    int n = 0;
    for (const std::wstring& line : LogLines())
        n += line == text;
    return n;
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

void RenderDX9Test::SetUp()
{
    static bool attached = false;
    if (!attached)
    {
        base::MainLog::Instance()->AddTextOutput(new hvtest::LogCapture);
        attached = true;
    }
    LogLines().clear();
    render::RegisterVertexFormats();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"RenderTest";
    RegisterClassExW(&windowClass);
    hwnd = CreateWindowExW(0, L"RenderTest", L"render", WS_POPUP, 0, 0, int(kSize), int(kSize), nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    // The window object only answers whether drawing is possible; it owns the handle.
    window = std::make_unique<app::Window>(nullptr, false, false, false);
    window->mHandle = hwnd;
    render = std::make_unique<render::RenderDX9>();
}

void RenderDX9Test::TearDown()
{
    d3d9test::ClearFailures();
    for (render::Texture* texture : textures)
        delete texture;
    textures.clear();
    render.reset();
    window.reset();
    EXPECT_EQ(d3d9test::LiveObjectCount(), 0) << "a device object was not released";
}

HVResultEnum RenderDX9Test::Start(bool windowed, uint32_t width, uint32_t height)
{
    window->mWindowed = windowed;
    render::RenderInitParam param;
    param.mWidth = width;
    param.mHeight = height;
    param.mWindowed = windowed;
    return render->InitRender(window.get(), param);
}

render::TextureDX9* RenderDX9Test::MakeTexture(int w, int h, const std::vector<uint32_t>& argb)
{
    auto* texture = new render::TextureDX9(render.get());
    textures.push_back(texture);
    PixelImage image(w, h, argb);
    EXPECT_EQ(texture->CreateFromImage(&image), HV_OK);
    return texture;
}

render::TextureDX9* RenderDX9Test::MakeTarget(int w, int h)
{
    auto* texture = new render::TextureDX9(render.get());
    textures.push_back(texture);
    EXPECT_EQ(texture->CreateRenderTarget(w, h), HV_OK);
    return texture;
}

HVResultEnum RenderDX9Test::Frame(const std::function<void()>& steps)
{
    if (!render->CheckDeviceReady())
        return HV_FAIL;
    HVResultEnum result = render->BeginFrame();
    if (result != HV_OK)
        return result;
    steps();
    if ((result = render->EndFrame()) != HV_OK || (result = render->Present()) != HV_OK)
        return result;
    return render->ExecuteCommands();
}

void RenderDX9Test::ClearTo(uint32_t argb)
{
    const float colour[4] = {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
                             float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f};
    render->SetTarget(&state);
    EXPECT_EQ(render->Clear(1, colour, 1.0f, 0), HV_OK);
}

std::vector<uint32_t> RenderDX9Test::BackBuffer()
{
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    EXPECT_TRUE(d3d9test::ReadPixels(render->GetBackBuffer(), pixels, w, h));
    return pixels;
}

std::vector<uint32_t> RenderDX9Test::TargetPixels(render::TextureDX9* target)
{
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    EXPECT_TRUE(d3d9test::ReadPixels(target->GetTexture(), pixels, w, h));
    return pixels;
}
} // namespace rendertest
