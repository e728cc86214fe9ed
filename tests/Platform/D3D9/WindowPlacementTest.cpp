// The back buffer drawn straight into the window when their sizes match,
// and offscreen (copied at Present) when they do not: the same pixels both
// ways, read back top row first.
#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

namespace d3d9fixture {
namespace {

constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr UINT kSmall = 12;

class WindowPlacement : public DeviceTest
{
protected:
    // Clears, a scissored clear, texels at the top-left corner, culled and
    // kept triangles, a viewport in the lower right: nothing symmetric.
    std::vector<uint32_t> DrawScene(UINT size)
    {
        IDirect3DTexture9* texture = MakeTexture(3, 2, {kRed, kGreen, kBlue, 0xFF808080, 0xFFFFFF00, 0xFF00FFFF});
        const D3DVIEWPORT9 whole{0, 0, size, size, 0.0f, 1.0f};
        EXPECT_EQ(device_->SetViewport(&whole), D3D_OK);
        EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0), D3D_OK);
        const RECT band{1, 9, 6, 11};
        EXPECT_EQ(device_->SetScissorRect(&band), D3D_OK);
        EXPECT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
        EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0), D3D_OK);
        EXPECT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        Use(Textured(), size, size);
        EXPECT_EQ(device_->SetTexture(0, texture), D3D_OK);
        DrawTexQuad(-0.5f, -0.5f, 2.5f, 1.5f);
        Use(Geom(), size, size);
        EXPECT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW), D3D_OK);
        // Clockwise on screen (kept), then counter-clockwise (culled).
        DrawColorTriangles({{3, 3, 0, kBlue}, {8, 3, 0, kBlue}, {3, 7, 0, kBlue},
                            {8, 4, 0, kRed}, {4, 8, 0, kRed}, {8, 8, 0, kRed}});
        const RECT clip{0, 0, LONG(size), 5};
        EXPECT_EQ(device_->SetScissorRect(&clip), D3D_OK);
        EXPECT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
        DrawColorTriangles({{9, 0, 0, kRed}, {11, 0, 0, kRed}, {9, 11, 0, kRed}});
        EXPECT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
        const D3DVIEWPORT9 corner{7, 8, 4, 3, 0.0f, 1.0f};
        EXPECT_EQ(device_->SetViewport(&corner), D3D_OK);
        Use(Geom(), 4, 3);
        DrawColorTriangles({{-0.5f, -0.5f, 0, kRed}, {3.5f, -0.5f, 0, kRed}, {-0.5f, 2.5f, 0, kRed}});
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        UINT w = 0, h = 0;
        std::vector<uint32_t> pixels = TargetPixels(w, h);
        EXPECT_EQ(w, size);
        EXPECT_EQ(h, size);
        // The same 12 x 12 corner of either back buffer.
        std::vector<uint32_t> corner12;
        for (UINT y = 0; y < kSmall; ++y)
            for (UINT x = 0; x < kSmall; ++x)
                corner12.push_back(pixels[size_t(y) * w + x]);
        return corner12;
    }
};

struct PlacementCase
{
    const char* name;
    UINT size;
    bool inWindow;
};

class BothPlacements : public WindowPlacement, public testing::WithParamInterface<PlacementCase>
{
};

TEST_P(BothPlacements, ShowTheSceneTopRowFirst)
{
    const PlacementCase& c = GetParam();
    CreateDevice(true, c.size, c.size);
    ASSERT_EQ(d3d9test::BackBufferInWindow(device_), c.inWindow);
    const auto pixels = DrawScene(c.size);
    EXPECT_EQ(At(pixels, 0, 0, kSmall), kRed);
    EXPECT_EQ(At(pixels, 2, 0, kSmall), kBlue);
    EXPECT_EQ(At(pixels, 0, 1, kSmall), 0xFF808080u);
    EXPECT_EQ(At(pixels, 3, 0, kSmall), kBlack);
    EXPECT_EQ(At(pixels, 4, 4, kSmall), kBlue);
    EXPECT_EQ(At(pixels, 7, 7, kSmall), kBlack) << "a counter-clockwise triangle is culled";
    EXPECT_EQ(At(pixels, 9, 2, kSmall), kRed);
    EXPECT_EQ(At(pixels, 9, 6, kSmall), kBlack) << "cut by the scissor";
    EXPECT_EQ(At(pixels, 1, 9, kSmall), kGreen);
    EXPECT_EQ(At(pixels, 1, 8, kSmall), kBlack);
    EXPECT_EQ(At(pixels, 7, 8, kSmall), kRed);
    EXPECT_EQ(At(pixels, 6, 8, kSmall), kBlack) << "outside the viewport";
    EXPECT_EQ(At(pixels, 7, 11, kSmall), kBlack) << "outside the viewport";
}

INSTANTIATE_TEST_SUITE_P(Table, BothPlacements,
                         testing::Values(PlacementCase{"InWindow", 16, true},
                                         PlacementCase{"Offscreen", kSmall, false}),
                         [](const testing::TestParamInfo<PlacementCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(WindowPlacement, AResizedWindowIsDrawnOffscreenFromTheNextFrame)
{
    CreateDevice(true);
    ASSERT_TRUE(d3d9test::BackBufferInWindow(device_));
    const auto before = DrawScene(kSize);
    SDL_SetWindowSize(window_, int(kSize) + 8, int(kSize) + 8);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_FALSE(d3d9test::BackBufferInWindow(device_));
    EXPECT_EQ(DrawScene(kSize), before);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    SDL_SetWindowSize(window_, int(kSize), int(kSize));
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_TRUE(d3d9test::BackBufferInWindow(device_));
    EXPECT_EQ(DrawScene(kSize), before);
}

TEST_F(WindowPlacement, RenderTargetsKeepTheirDepthStencilAcrossMoves)
{
    CreateDevice(true);
    IDirect3DTexture9* target = MakeTarget(kSize, kSize);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
    surface->Release();
    SDL_SetWindowSize(window_, int(kSize) + 8, int(kSize) + 8);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_FALSE(d3d9test::BackBufferInWindow(device_));
    // A nearer draw passes the depth test over a farther one on the target.
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawColorTriangles({{0, 0, 0.2f, kBlue}, {16, 0, 0.2f, kBlue}, {0, 16, 0.2f, kBlue}});
    DrawColorTriangles({{0, 0, 0.8f, kRed}, {16, 0, 0.8f, kRed}, {0, 16, 0.8f, kRed}});
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(At(TargetPixels(), 2, 2), kBlue);
}

} // namespace
} // namespace d3d9fixture
