#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

namespace d3d9fixture {
namespace {


constexpr uint32_t kClear = 0xFF203040;
// Alphas 255, 128, 64, 0 in reading order.
const std::vector<uint32_t> kTexels = {0xFFFF0000, 0x8000FF00, 0x400000FF, 0x00FFFF80};

class Placement : public DeviceTest
{
protected:
    void DrawTexelsAtOrigin(IDirect3DTexture9* texture);
};

void Placement::DrawTexelsAtOrigin(IDirect3DTexture9* texture)
{
    IDirect3DDevice9* device = device_;
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    // The engine's half-pixel offset: texel centres land on pixel centres.
    DrawTexQuad(-0.5f, -0.5f, 1.5f, 1.5f);
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

TEST_F(Placement, TexelsLandOnTheirPixelsOnTheBackBuffer)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = MakeTexture(2, 2, kTexels);
    Use(Textured());
    DrawTexelsAtOrigin(texture);
    const auto pixels = TargetPixels();
    // The back buffer is X8R8G8B8: colour only.
    EXPECT_EQ(At(pixels, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 0, 1), 0xFF0000FFu);
    EXPECT_EQ(At(pixels, 1, 1), 0xFFFFFF80u);
    EXPECT_EQ(At(pixels, 2, 0), kClear);
    EXPECT_EQ(At(pixels, 0, 2), kClear);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(Placement, TexelsLandOnTheirPixelsThroughARenderTarget)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = MakeTexture(2, 2, kTexels);
    IDirect3DTexture9* target = MakeTarget(kSize, kSize);
    IDirect3DSurface9* targetSurface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &targetSurface), D3D_OK);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &back), D3D_OK);

    ASSERT_EQ(device_->SetRenderTarget(0, targetSurface), D3D_OK);
    Use(Textured());
    DrawTexelsAtOrigin(texture);
    const auto onTarget = TexturePixels(target);
    EXPECT_EQ(At(onTarget, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(onTarget, 1, 0), 0x8000FF00u);
    EXPECT_EQ(At(onTarget, 0, 1), 0x400000FFu);
    EXPECT_EQ(At(onTarget, 1, 1), 0x00FFFF80u);
    EXPECT_EQ(At(onTarget, 2, 0), kClear);

    // The whole target drawn 1:1 onto the back buffer keeps its orientation.
    ASSERT_EQ(device_->SetRenderTarget(0, back), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->SetTexture(0, target), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawTexQuad(-0.5f, -0.5f, kSize - 0.5f, kSize - 0.5f);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto onBack = TargetPixels();
    EXPECT_EQ(At(onBack, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(onBack, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(At(onBack, 0, 1), 0xFF0000FFu);
    EXPECT_EQ(At(onBack, 1, 1), 0xFFFFFF80u);
    EXPECT_EQ(At(onBack, 2, 0), kClear | 0xFF000000u);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    targetSurface->Release();
    back->Release();
}

} // namespace
} // namespace d3d9fixture
