#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

namespace d3d9fixture {
namespace {

class DeviceLoss : public DeviceTest
{
protected:
    void PushWindowEvent(SDL_WindowEventID id)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(window_);
        event.window.event = Uint8(id);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    HRESULT Reset(bool windowed = false, UINT size = kSize)
    {
        D3DPRESENT_PARAMETERS params = Params(windowed, size, size);
        return device_->Reset(&params);
    }
    void TearDown() override
    {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        DeviceTest::TearDown();
    }
};

TEST_F(DeviceLoss, LostWhileInactiveThenNotResetUntilReset)
{
    CreateDevice(false);
    d3d9test::LoseDevice(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(Reset(), D3DERR_DEVICELOST);
    // Other calls succeed without effect.
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3D_OK);

    d3d9test::RegainFocus(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ASSERT_EQ(Reset(), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(DeviceLoss, FocusEventsLoseAFullScreenDevice)
{
    CreateDevice(false);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ASSERT_EQ(Reset(), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
}

TEST_F(DeviceLoss, SwitchAwayAndBackBetweenTwoChecksStillNeedsReset)
{
    CreateDevice(false);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
}

TEST_F(DeviceLoss, WindowedDeviceIsNotLostByFocus)
{
    CreateDevice(true);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    // The hook still loses it on demand.
    d3d9test::LoseDevice(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
}

TEST_F(DeviceLoss, ResetRefusedWhileADefaultPoolObjectLives)
{
    CreateDevice(false);
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                     D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DVertexBuffer9* dynamic = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                          D3DPOOL_DEFAULT, &dynamic, nullptr),
              D3D_OK);
    d3d9test::LoseDevice(device_);
    d3d9test::RegainFocus(device_);
    EXPECT_EQ(Reset(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    target->Release();
    EXPECT_EQ(Reset(), D3DERR_INVALIDCALL);
    dynamic->Release();
    EXPECT_EQ(Reset(), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
}

TEST_F(DeviceLoss, ResetRefusedWhileABackBufferReferenceLives)
{
    CreateDevice(true);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &back), D3D_OK);
    // A screen-mode switch resets a device that was never lost.
    EXPECT_EQ(Reset(true), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    back->Release();
    EXPECT_EQ(Reset(true), D3D_OK);
}

TEST_F(DeviceLoss, ResetRebuildsTheBackBufferAtTheNewSizeAndKeepsManagedTextures)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFF112233, 0xFF445566});
    d3d9test::LoseDevice(device_);
    d3d9test::RegainFocus(device_);
    ASSERT_EQ(Reset(true, 8), D3D_OK);
    D3DVIEWPORT9 viewport{};
    ASSERT_EQ(device_->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, 8u);

    Use(Textured(), 8, 8);
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawTexQuad(-0.5f, -0.5f, 1.5f, 0.5f);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    UINT w = 0, h = 0;
    const auto pixels = TargetPixels(w, h);
    ASSERT_EQ(w, 8u);
    EXPECT_EQ(pixels[0], 0xFF112233u);
    EXPECT_EQ(pixels[1], 0xFF445566u);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
}

TEST_F(DeviceLoss, TextureReleasedAfterTheDeviceFreesCleanly)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                     nullptr),
              D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    // The texture's reference keeps the device (and its GL context) alive.
    EXPECT_EQ(device_->Release(), 1u);
    device_ = nullptr;
    EXPECT_GT(d3d9test::LiveObjectCount(), 0);
    surface->Release();
    texture->Release();
}

} // namespace
} // namespace d3d9fixture

namespace d3d9fixture {
namespace {

// A closed program destroys its window first and releases the device and its
// resources afterwards, as Direct3D 9 allows.
TEST_F(DeviceTest, DeviceAndResourcesReleaseAfterTheirWindowIsGone)
{
    CreateDevice(true);
    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(256, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vertices,
                                          nullptr),
              D3D_OK);
    IDirect3DTexture9* texture = MakeTexture(2, 2, {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu});
    (void)texture; // released by the fixture, after the window
    ASSERT_TRUE(DestroyWindow(hwnd_));
    hwnd_ = nullptr;
    vertices->Release();
    device_->Release();
    device_ = nullptr;
}

} // namespace
} // namespace d3d9fixture
