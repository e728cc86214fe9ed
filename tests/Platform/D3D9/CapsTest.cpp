#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

namespace d3d9fixture {
namespace {

using Caps = DeviceTest;

TEST_F(Caps, OnlyTheSdkVersionCreatesTheObject)
{
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
    EXPECT_EQ(Direct3DCreate9(33), nullptr);
}

TEST_F(Caps, ReportsWhatTheEngineChecks)
{
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_GT(mode.Width, 0u);
    CreateDevice(true);
    D3DCAPS9 caps{};
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_GE(caps.MaxTextureWidth, 2048u);
    EXPECT_EQ(caps.MaxTextureWidth, caps.MaxTextureHeight);
    EXPECT_EQ(caps.MaxVertexIndex, 0xFFFFFFu);
    EXPECT_EQ(caps.MaxPrimitiveCount, 0xFFFFFFu);
    EXPECT_GE(caps.MaxTextureBlendStages, 3u);
    EXPECT_EQ(caps.VertexShaderVersion, DWORD(D3DVS_VERSION(2, 0)));
    EXPECT_EQ(caps.PixelShaderVersion, DWORD(D3DPS_VERSION(2, 0)));
    EXPECT_TRUE(caps.RasterCaps & D3DPRASTERCAPS_SCISSORTEST);
    EXPECT_TRUE(caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFLINEAR);
    EXPECT_TRUE(caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR);
    // A texture at the reported maximum is accepted, one past it refused.
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(caps.MaxTextureWidth + 1, 1, 1, 0, D3DFMT_A8R8G8B8,
                                     D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
}

struct FormatCase
{
    D3DFORMAT format;
    HRESULT expected;
};

class DxtFormats : public DeviceTest, public testing::WithParamInterface<FormatCase>
{
};

TEST_P(DxtFormats, AnswerAsTheDriverWould)
{
    // Asked before any device exists, as the engine does not, and after.
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE,
                                      GetParam().format),
              GetParam().expected);
    CreateDevice(true);
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE,
                                      GetParam().format),
              GetParam().expected);
}

// Mesa's llvmpipe offers S3TC.
INSTANTIATE_TEST_SUITE_P(Table, DxtFormats,
                         testing::Values(FormatCase{D3DFMT_DXT1, D3D_OK},
                                         FormatCase{D3DFMT_DXT2, D3DERR_NOTAVAILABLE},
                                         FormatCase{D3DFMT_DXT3, D3D_OK},
                                         FormatCase{D3DFMT_DXT4, D3DERR_NOTAVAILABLE},
                                         FormatCase{D3DFMT_DXT5, D3D_OK}));

TEST_F(Caps, PresentStretchesASmallerBackBuffer)
{
    CreateDevice(true, 8, 4);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    UINT w = 0, h = 0;
    const auto pixels = TargetPixels(w, h);
    ASSERT_EQ(pixels.size(), 32u);
    EXPECT_EQ(pixels[31], 0xFF00FF00u);
    EXPECT_EQ(w, 8u);
    EXPECT_EQ(h, 4u);
}

TEST_F(Caps, OverrideIsWhatGetDeviceCapsReports)
{
    D3DCAPS9 weak{};
    weak.MaxVertexIndex = 65534;
    weak.VertexShaderVersion = D3DVS_VERSION(1, 1);
    weak.PixelShaderVersion = D3DPS_VERSION(1, 4);
    d3d9test::OverrideCaps(d3d_, weak);
    CreateDevice(true);
    D3DCAPS9 caps{};
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.MaxVertexIndex, 65534u);
    EXPECT_EQ(caps.PixelShaderVersion, DWORD(D3DPS_VERSION(1, 4)));
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.VertexShaderVersion, DWORD(D3DVS_VERSION(1, 1)));
}

TEST_F(Caps, ScriptedFailuresAnswerThenStop)
{
    CreateDevice(true);
    d3d9test::FailNextCalls("Present", 2, D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    d3d9test::FailNextCalls("CreateDevice", 1, D3DERR_NOTAVAILABLE);
    IDirect3DDevice9* second = nullptr;
    D3DPRESENT_PARAMETERS params = Params(true, kSize, kSize);
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, hwnd_, 0, &params, &second),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(second, nullptr);
}

TEST_F(Caps, CountersFollowTheDeviceCalls)
{
    CreateDevice(true);
    Use(Geom());
    d3d9test::ResetCounters(device_);
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawColorTriangles({{0, 0, 0, 0xFFFFFFFF}, {4, 0, 0, 0xFFFFFFFF}, {0, 4, 0, 0xFFFFFFFF},
                        {8, 8, 0, 0xFFFFFFFF}, {12, 8, 0, 0xFFFFFFFF}, {8, 12, 0, 0xFFFFFFFF}});
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 3, 1), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    const d3d9::DeviceCounters counters = d3d9test::Counters(device_);
    EXPECT_EQ(counters.drawCalls, 2u);
    EXPECT_EQ(counters.primitives, 3u);
    EXPECT_EQ(counters.presents, 1u);
    EXPECT_GE(counters.stateCalls, 3u); // cull mode, FVF, stream
    EXPECT_GE(counters.bytesUploaded, 6 * sizeof(ColorVertex));
}

} // namespace
} // namespace d3d9fixture
