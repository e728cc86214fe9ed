#pragma once

// The Direct3D 9 renderer on the stand-in, on a hidden window, with the
// log captured and pixels read back.
#include "Core/App/Window.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/ImageData.h"
#include "QuadDraw.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace rendertest
{
// A picture of given pixels (ARGB), written row by row at the locked pitch.
class PixelImage : public render::ImageData
{
public:
    PixelImage(int w, int h, std::vector<uint32_t> argb) : mPixels(std::move(argb))
    {
        mWidth = w;
        mHeight = h;
    }
    HVResultEnum Load(base::Stream*, const wchar_t*) override { return HV_OK; }
    HVResultEnum Decode(uint32_t pitch, void* destination, render::HitMask* mask) override;

private:
    std::vector<uint32_t> mPixels;
};

// Every log entry since the test began.
using hvtest::LogLines;
int CountLog(const std::wstring& text);

class RenderDX9Test : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A renderer on the window; windowed or full screen.
    HVResultEnum Start(bool windowed = true, uint32_t width = kSize, uint32_t height = kSize);
    render::TextureDX9* MakeTexture(int w, int h, const std::vector<uint32_t>& argb);
    render::TextureDX9* MakeTarget(int w, int h);
    // One whole frame: device check, begin, the steps, end, present, replay.
    HVResultEnum Frame(const std::function<void()>& steps);
    void ClearTo(uint32_t argb);
    std::vector<uint32_t> BackBuffer();
    std::vector<uint32_t> TargetPixels(render::TextureDX9* target);
    uint32_t At(const std::vector<uint32_t>& pixels, int x, int y, int width = kSize) const
    {
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
    IDirect3DDevice9* Device() const { return render->GetDevice(); }

    static constexpr uint32_t kSize = 32;
    HWND hwnd = nullptr;
    std::unique_ptr<app::Window> window;
    std::unique_ptr<render::RenderDX9> render;
    std::vector<render::Texture*> textures;
    render::RenderState state;
};

// Channels within a tolerance.
bool Near(uint32_t a, uint32_t b, int tolerance);
} // namespace rendertest
