#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

#include <cstring>

namespace d3d9fixture {
namespace {

class Textures : public DeviceTest
{
protected:
    // Draws `texture` over the top-left w x h pixels of a fresh A8R8G8B8
    // target (blending off) and returns the target's pixels.
    std::vector<uint32_t> DrawOntoTarget(IDirect3DTexture9* texture, float w, float h,
                                         float u1 = 1.0f, float v1 = 1.0f)
    {
        IDirect3DTexture9* target = MakeTarget(kSize, kSize);
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
        EXPECT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
        surface->Release();
        Use(Textured());
        EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
        EXPECT_EQ(device_->SetTexture(0, texture), D3D_OK);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        DrawTexQuad(-0.5f, -0.5f, w - 0.5f, h - 0.5f, 0xFFFFFFFF, u1, v1);
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        EXPECT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
        return TexturePixels(target);
    }
    void SetFilters(D3DTEXTUREFILTERTYPE min, D3DTEXTUREFILTERTYPE mag, D3DTEXTUREFILTERTYPE mip)
    {
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MINFILTER, min), D3D_OK);
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MAGFILTER, mag), D3D_OK);
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MIPFILTER, mip), D3D_OK);
    }
};

TEST_F(Textures, MinifiedOneLevelTextureUnderMipFilterShowsItsColour)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = MakeTexture(8, 8, std::vector<uint32_t>(64, 0xFFFF0000));
    SetFilters(D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR);
    const auto pixels = DrawOntoTarget(texture, 2, 2);
    EXPECT_EQ(At(pixels, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 1, 1), 0xFFFF0000u);
}

// A new picture's first lock reads nothing back; a later lock keeps what the
// level holds, so writing part of it leaves the rest.
TEST_F(Textures, OnlyALevelWrittenBeforeIsReadBackForALock)
{
    CreateDevice(true);
    d3d9test::ResetCounters(device_);
    IDirect3DTexture9* texture = MakeTexture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(d3d9test::Counters(device_).bytesReadBack, 0u);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(d3d9test::Counters(device_).bytesReadBack, 16u);
    uint32_t first[2];
    std::memcpy(first, locked.pBits, sizeof first);
    EXPECT_EQ(first[0], 0xFFFF0000u);
    EXPECT_EQ(first[1], 0xFF00FF00u);
    const uint32_t yellow = 0xFFFFFF00u;
    std::memcpy(static_cast<uint8_t*>(locked.pBits) + locked.Pitch, &yellow, 4);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    SetFilters(D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE);
    const auto pixels = DrawOntoTarget(texture, 2, 2);
    EXPECT_EQ(At(pixels, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 0, 1), yellow);
    EXPECT_EQ(At(pixels, 1, 1), 0xFFFFFFFFu);
}

// Levels below the one written are zero when the texture is drawn.
TEST_F(Textures, MipLevelNeverWrittenSamplesAsZero)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    owned_.push_back(texture);
    ASSERT_EQ(texture->GetLevelCount(), 3u);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < 4; ++y)
        for (UINT x = 0; x < 4; ++x)
        {
            const uint32_t red = 0xFFFF0000u;
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * UINT(locked.Pitch) + x * 4, &red, 4);
        }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    SetFilters(D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_POINT);
    // Four texels to a pixel picks level 2, which nothing wrote.
    const auto minified = DrawOntoTarget(texture, 1, 1);
    EXPECT_EQ(At(minified, 0, 0), 0x00000000u);
    const auto full = DrawOntoTarget(texture, 4, 4);
    EXPECT_EQ(At(full, 3, 3), 0xFFFF0000u);
}

TEST_F(Textures, WrapRepeatsAndClampHoldsTheEdge)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFFFF0000, 0xFF00FF00});
    // Four pixels across u 0..2: centres at u 0.25, 0.75, 1.25, 1.75.
    auto pixels = DrawOntoTarget(texture, 4, 1, 2.0f, 1.0f);
    EXPECT_EQ(At(pixels, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 2, 0), 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 3, 0), 0xFF00FF00u);
    ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP), D3D_OK);
    pixels = DrawOntoTarget(texture, 4, 1, 2.0f, 1.0f);
    EXPECT_EQ(At(pixels, 2, 0), 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 3, 0), 0xFF00FF00u);
}

TEST_F(Textures, PointPicksTexelsAndLinearMixesThem)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFF000000, 0xFFFFFFFF});
    ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP), D3D_OK);
    // Magnified x2: pixel 1 samples a quarter of the way to the white texel.
    auto pixels = DrawOntoTarget(texture, 4, 1);
    EXPECT_EQ(At(pixels, 1, 0), 0xFF000000u);
    EXPECT_EQ(At(pixels, 2, 0), 0xFFFFFFFFu);
    SetFilters(D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_NONE);
    pixels = DrawOntoTarget(texture, 4, 1);
    const uint32_t quarter = At(pixels, 1, 0) & 0xFF;
    EXPECT_GE(quarter, 0x3Eu);
    EXPECT_LE(quarter, 0x42u);
    EXPECT_EQ(At(pixels, 0, 0), 0xFF000000u);
}

struct DxtCase
{
    const char* name;
    D3DFORMAT format;
    INT pitch;
    std::vector<uint8_t> block;
    uint32_t texel0, texel1, texel2;
    uint32_t texel2Mask; // interpolated colours vary by decoder: alpha only then
};

class Dxt : public Textures, public testing::WithParamInterface<DxtCase>
{
};

// Colour block: c0, c1 (RGB565) and 2-bit indices, texel 0 in the low bits.
std::vector<uint8_t> ColourBlock(uint16_t c0, uint16_t c1, uint32_t indices)
{
    return {uint8_t(c0), uint8_t(c0 >> 8), uint8_t(c1), uint8_t(c1 >> 8), uint8_t(indices),
            uint8_t(indices >> 8), uint8_t(indices >> 16), uint8_t(indices >> 24)};
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr uint16_t kRed565 = 0xF800;
constexpr uint16_t kBlue565 = 0x001F;
// Texel 0 index 0, texel 1 index 1, texel 2 index 3, the rest 0.
constexpr uint32_t kIndices = 0u | (1u << 2) | (3u << 4);

TEST_P(Dxt, DecodesExactColours)
{
    const DxtCase& c = GetParam();
    CreateDevice(true);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    owned_.push_back(texture);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, c.pitch);
    std::memcpy(locked.pBits, c.block.data(), c.block.size());
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    const auto pixels = DrawOntoTarget(texture, 4, 4);
    EXPECT_EQ(At(pixels, 0, 0), c.texel0);
    EXPECT_EQ(At(pixels, 1, 0), c.texel1);
    EXPECT_EQ(At(pixels, 2, 0) & c.texel2Mask, c.texel2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Dxt,
    testing::Values(
        DxtCase{"Dxt1FourColour", D3DFMT_DXT1, 8, ColourBlock(kRed565, kBlue565, kIndices),
                0xFFFF0000, 0xFF0000FF, 0xFF000000, 0xFF000000},
        DxtCase{"Dxt1ThreeColourTransparent", D3DFMT_DXT1, 8,
                ColourBlock(kBlue565, kRed565, kIndices), 0xFF0000FF, 0xFFFF0000, 0x00000000,
                0xFFFFFFFF},
        DxtCase{"Dxt3", D3DFMT_DXT3, 16,
                Concat({0x8F, 0x00, 0, 0, 0, 0, 0, 0}, ColourBlock(kRed565, kBlue565, kIndices)),
                0xFFFF0000, 0x880000FF, 0x00000000, 0xFF000000},
        DxtCase{"Dxt5", D3DFMT_DXT5, 16,
                Concat({0xFF, 0x40, 0x08, 0, 0, 0, 0, 0}, ColourBlock(kRed565, kBlue565, kIndices)),
                0xFFFF0000, 0x400000FF, 0xFF000000, 0xFF000000}),
    [](const testing::TestParamInfo<DxtCase>& info) { return std::string(info.param.name); });

TEST_F(Textures, DynamicTextureRewrittenWithDiscardShowsEachContent)
{
    CreateDevice(true);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(3, 2, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                     &texture, nullptr),
              D3D_OK);
    owned_.push_back(texture);
    for (uint32_t frame = 0; frame < 2; ++frame)
    {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
        ASSERT_EQ(locked.Pitch, 12);
        for (uint32_t y = 0; y < 2; ++y)
        {
            uint32_t row[3];
            for (uint32_t x = 0; x < 3; ++x)
                row[x] = 0xFF000000u | (frame ? 0x00FF0000u : 0x000000FFu) | ((x + 3 * y) << 8);
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * UINT(locked.Pitch), row, 12);
        }
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        const auto pixels = DrawOntoTarget(texture, 3, 2);
        for (uint32_t y = 0; y < 2; ++y)
            for (uint32_t x = 0; x < 3; ++x)
                EXPECT_EQ(At(pixels, x, y),
                          0xFF000000u | (frame ? 0x00FF0000u : 0x000000FFu) | ((x + 3 * y) << 8));
    }
}

TEST_F(Textures, DynamicBuffersRefilledEveryFrame)
{
    CreateDevice(true);
    Use(Geom());
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(3 * sizeof(ColorVertex),
                                          D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, kColorFvf,
                                          D3DPOOL_DEFAULT, &vertices, nullptr),
              D3D_OK);
    owned_.push_back(vertices);
    ASSERT_EQ(device_->CreateIndexBuffer(6, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, D3DFMT_INDEX16,
                                         D3DPOOL_DEFAULT, &indices, nullptr),
              D3D_OK);
    owned_.push_back(indices);
    ASSERT_EQ(device_->SetFVF(kColorFvf), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, vertices, 0, sizeof(ColorVertex)), D3D_OK);
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    const D3DCOLOR colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int frame = 0; frame < 3; ++frame)
    {
        const float x = float(frame * 5);
        const ColorVertex triangle[3] = {
            {x, 0, 0, colours[frame]}, {x + 4, 0, 0, colours[frame]}, {x, 4, 0, colours[frame]}};
        void* p = nullptr;
        ASSERT_EQ(vertices->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
        std::memcpy(p, triangle, sizeof(triangle));
        ASSERT_EQ(vertices->Unlock(), D3D_OK);
        const uint16_t order[3] = {uint16_t(frame % 3), uint16_t((frame + 1) % 3),
                                   uint16_t((frame + 2) % 3)};
        ASSERT_EQ(indices->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
        std::memcpy(p, order, sizeof(order));
        ASSERT_EQ(indices->Unlock(), D3D_OK);
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        const auto pixels = TargetPixels();
        EXPECT_EQ(At(pixels, UINT(x) + 1, 1), colours[frame]) << "frame " << frame;
        if (frame > 0)
        {
            EXPECT_EQ(At(pixels, UINT(x) - 4, 1), 0xFF000000u) << "frame " << frame;
        }
    }
}

} // namespace
} // namespace d3d9fixture
