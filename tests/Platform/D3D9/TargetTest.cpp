#include "DeviceFixture.h"

namespace d3d9fixture {
namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kBlack = 0xFF000000;

// A clockwise (on screen) triangle over the top-left corner and a
// counter-clockwise one over the bottom-right corner.
const std::vector<ColorVertex> kClockwise = {{0, 0, 0, kBlue}, {8, 0, 0, kBlue}, {0, 8, 0, kBlue}};
const std::vector<ColorVertex> kCounterClockwise = {
    {15, 15, 0, kBlue}, {15, 7, 0, kBlue}, {7, 15, 0, kBlue}};

struct CullCase
{
    const char* name;
    D3DCULL mode;
    bool onTarget;
    bool clockwiseShown;
    bool counterClockwiseShown;
};

class Culling : public DeviceTest, public testing::WithParamInterface<CullCase>
{
};

TEST_P(Culling, KeepsTheFacesDirect3DKeeps)
{
    const CullCase& c = GetParam();
    CreateDevice(true);
    if (c.onTarget)
    {
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(MakeTarget(kSize, kSize)->GetSurfaceLevel(0, &surface), D3D_OK);
        ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
        surface->Release();
    }
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, c.mode), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    std::vector<ColorVertex> both = kClockwise;
    both.insert(both.end(), kCounterClockwise.begin(), kCounterClockwise.end());
    DrawColorTriangles(both);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 2, 2) == kBlue, c.clockwiseShown);
    EXPECT_EQ(At(pixels, 13, 13) == kBlue, c.counterClockwiseShown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Culling,
    testing::Values(CullCase{"CcwOnBackBuffer", D3DCULL_CCW, false, true, false},
                    CullCase{"CwOnBackBuffer", D3DCULL_CW, false, false, true},
                    CullCase{"NoneOnBackBuffer", D3DCULL_NONE, false, true, true},
                    CullCase{"CcwOnTarget", D3DCULL_CCW, true, true, false},
                    CullCase{"CwOnTarget", D3DCULL_CW, true, false, true}),
    [](const testing::TestParamInfo<CullCase>& info) { return std::string(info.param.name); });

using Targets = DeviceTest;

bool Inside(UINT x, UINT y, const RECT& r)
{
    return LONG(x) >= r.left && LONG(x) < r.right && LONG(y) >= r.top && LONG(y) < r.bottom;
}

void ExpectOnlyInside(const std::vector<uint32_t>& pixels, const RECT& r, uint32_t in,
                      uint32_t out)
{
    for (UINT y = 0; y < 16; ++y)
        for (UINT x = 0; x < 16; ++x)
            ASSERT_EQ(pixels[y * 16 + x], Inside(x, y, r) ? in : out) << x << "," << y;
}

TEST_F(Targets, ScissoredDrawTouchesOnlyTheRectangle)
{
    CreateDevice(true);
    Use(Geom());
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    const RECT rect{3, 5, 9, 12};
    ASSERT_EQ(device_->SetScissorRect(&rect), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawColorTriangles({{-1, -1, 0, kBlue}, {40, -1, 0, kBlue}, {-1, 40, 0, kBlue}});
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ExpectOnlyInside(TargetPixels(), rect, kBlue, kBlack);
}

TEST_F(Targets, ScissoredClearTouchesOnlyTheRectangle)
{
    CreateDevice(true);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    const RECT rect{2, 1, 7, 14};
    ASSERT_EQ(device_->SetScissorRect(&rect), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
    ExpectOnlyInside(TargetPixels(), rect, kBlue, kBlack);
    // With the test off the whole viewport clears.
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
    ExpectOnlyInside(TargetPixels(), RECT{0, 0, 16, 16}, kBlue, kBlack);
}

TEST_F(Targets, ClearAndDrawStayInTheViewport)
{
    CreateDevice(true);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    const D3DVIEWPORT9 viewport{8, 4, 8, 8, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    ExpectOnlyInside(TargetPixels(), RECT{8, 4, 16, 12}, 0xFFFF0000, kBlack);

    // Proj maps the viewport's own 8 x 8 pixels: its top-left pixel is (0, 0).
    Use(Geom(), 8, 8);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawColorTriangles({{-0.5f, -0.5f, 0, kBlue}, {1.2f, -0.5f, 0, kBlue}, {-0.5f, 1.2f, 0, kBlue}});
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 8, 4), kBlue);
    EXPECT_EQ(At(pixels, 9, 4), 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 8, 5), 0xFFFF0000u);
}

TEST_F(Targets, SetRenderTargetResetsViewportAndScissor)
{
    CreateDevice(true);
    const D3DVIEWPORT9 small{1, 1, 4, 4, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&small), D3D_OK);
    const RECT rect{1, 1, 3, 3};
    ASSERT_EQ(device_->SetScissorRect(&rect), D3D_OK);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &back), D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(MakeTarget(8, 6)->GetSurfaceLevel(0, &surface), D3D_OK);

    ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
    D3DVIEWPORT9 viewport{};
    RECT scissor{};
    ASSERT_EQ(device_->GetViewport(&viewport), D3D_OK);
    ASSERT_EQ(device_->GetScissorRect(&scissor), D3D_OK);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 8u);
    EXPECT_EQ(viewport.Height, 6u);
    EXPECT_EQ(scissor.right, 8);
    EXPECT_EQ(scissor.bottom, 6);
    IDirect3DSurface9* current = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &current), D3D_OK);
    EXPECT_EQ(current, surface);
    current->Release();

    ASSERT_EQ(device_->SetRenderTarget(0, back), D3D_OK);
    ASSERT_EQ(device_->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, kSize);
    EXPECT_EQ(viewport.Height, kSize);
    surface->Release();
    back->Release();
}

TEST_F(Targets, ScissorPastTheTargetIsCutNotRefused)
{
    CreateDevice(true);
    const RECT past{-5, 4, 100, 200};
    ASSERT_EQ(device_->SetScissorRect(&past), D3D_OK);
    RECT scissor{};
    ASSERT_EQ(device_->GetScissorRect(&scissor), D3D_OK);
    EXPECT_EQ(scissor.left, 0);
    EXPECT_EQ(scissor.top, 4);
    EXPECT_EQ(scissor.right, 16);
    EXPECT_EQ(scissor.bottom, 16);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    const RECT outside{20, 20, 30, 30};
    ASSERT_EQ(device_->SetScissorRect(&outside), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);
    ExpectOnlyInside(TargetPixels(), RECT{0, 0, 0, 0}, kBlue, kBlack);
}

TEST_F(Targets, DepthRunsFromZeroToOneAsInDirect3D)
{
    CreateDevice(true);
    ShaderPair pair = Compile(R"(float4x4 Proj;
struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
};
VS_OUTPUT vertex_shader(float3 pos : POSITION, float4 color : COLOR0)
{
    VS_OUTPUT output;
    output.pos = float4(pos, 1.0);
    output.color = color;
    return output;
}
)",
                              "float4 pixel_shader(float4 c : COLOR0) : COLOR0 { return c; }\n");
    Use(pair);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    // Clip-space triangles over the left half at z 0 (kept) and the right half
    // at z -0.1 (clipped).
    DrawColorTriangles({{-1, 1, 0, kBlue}, {-0.1f, 1, 0, kBlue}, {-1, -1, 0, kBlue},
                        {0.1f, 1, -0.1f, kBlue}, {1, 1, -0.1f, kBlue}, {0.1f, -1, -0.1f, kBlue}});
    // A nearer triangle passes the depth test over the z-0 one only where its
    // z is smaller: here it is farther (0.5) and stays hidden.
    DrawColorTriangles({{-1, 1, 0.5f, 0xFFFF0000}, {-0.1f, 1, 0.5f, 0xFFFF0000},
                        {-1, -1, 0.5f, 0xFFFF0000}});
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 1, 2), kBlue);
    EXPECT_EQ(At(pixels, 14, 2), kBlack);
}

TEST_F(Targets, InputTheFormatLacksReadsZeroZeroZeroOne)
{
    CreateDevice(true);
    ShaderPair pair = Compile(R"(float4x4 Proj;
struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
};
VS_OUTPUT vertex_shader(float3 pos : POSITION, float4 specular : COLOR1)
{
    VS_OUTPUT output;
    output.pos = mul(float4(pos, 1.0), Proj);
    output.color = specular + float4(0.0, 0.0, 0.5, 0.0);
    return output;
}
)",
                              "float4 pixel_shader(float4 c : COLOR0) : COLOR0 { return c; }\n");
    Use(pair);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawColorTriangles({{-1, -1, 0, kBlue}, {40, -1, 0, kBlue}, {-1, 40, 0, kBlue}});
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const uint32_t pixel = At(TargetPixels(), 4, 4);
    EXPECT_EQ(pixel & 0xFFFFFF00u, 0xFF000000u);
    EXPECT_NEAR(double(pixel & 0xFF), 128.0, 1.0);
}

} // namespace
} // namespace d3d9fixture
