#include "DeviceFixture.h"

#include <cstdlib>

namespace d3d9fixture {
namespace {

constexpr D3DCOLOR kSource = 0x80FF0000; // red at alpha 128
constexpr D3DCOLOR kDest1 = 0xFF0000FF;
constexpr D3DCOLOR kDest2 = 0x40808080;

struct BlendCase
{
    const char* name;
    bool enable;
    D3DBLEND src, dst;
    bool separate;
    D3DBLEND srcAlpha, dstAlpha;
    uint32_t expect1, expect2; // over kDest1 and kDest2
};

class Blending : public DeviceTest, public testing::WithParamInterface<BlendCase>
{
};

// Within one step per channel: GL and Direct3D may round differently.
testing::AssertionResult Near(uint32_t actual, uint32_t expected)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
        if (std::abs(a - e) > 1)
            return testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not 0x" << expected;
    }
    return testing::AssertionSuccess();
}

TEST_P(Blending, ColourAndAlphaAsDirect3D)
{
    const BlendCase& c = GetParam();
    CreateDevice(true);
    IDirect3DTexture9* target = MakeTarget(kSize, kSize);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
    surface->Release();
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHABLENDENABLE, c.enable), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SRCBLEND, c.src), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_DESTBLEND, c.dst), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, c.separate), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SRCBLENDALPHA, c.srcAlpha), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_DESTBLENDALPHA, c.dstAlpha), D3D_OK);

    for (int pass = 0; pass < 2; ++pass)
    {
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, pass ? kDest2 : kDest1, 1.0f, 0),
                  D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DrawColorTriangles({{0, 0, 0, kSource}, {16, 0, 0, kSource}, {0, 16, 0, kSource}});
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        const auto pixels = TexturePixels(target);
        EXPECT_TRUE(Near(At(pixels, 2, 2), pass ? c.expect2 : c.expect1)) << "pass " << pass;
        EXPECT_EQ(At(pixels, 15, 15), pass ? kDest2 : kDest1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Blending,
    testing::Values(
        BlendCase{"Off", false, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, false, D3DBLEND_ONE,
                  D3DBLEND_ONE, kSource, kSource},
        BlendCase{"Alpha", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, false, D3DBLEND_ONE,
                  D3DBLEND_ONE, 0xBF80007F, 0x60C04040},
        BlendCase{"Additive", true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, false, D3DBLEND_ONE,
                  D3DBLEND_ONE, 0xFF8000FF, 0x80FF8080},
        BlendCase{"AlphaWithSeparateOneOne", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true,
                  D3DBLEND_ONE, D3DBLEND_ONE, 0xFF80007F, 0xC0C04040},
        BlendCase{"OffIgnoresSeparateAlpha", false, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true,
                  D3DBLEND_ONE, D3DBLEND_ONE, kSource, kSource}),
    [](const testing::TestParamInfo<BlendCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace d3d9fixture
