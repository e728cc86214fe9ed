// A locked buffer's bytes go up when a draw first reads them: a buffer
// locked whole and written in part uploads the part its draws read, and
// what they draw is what was written.
#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

#include <cstring>

namespace d3d9fixture {
namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr UINT kCapacity = 64; // vertices

class BufferUpload : public DeviceTest
{
protected:
    IDirect3DVertexBuffer9* MakeBuffer(DWORD usage, D3DPOOL pool)
    {
        IDirect3DVertexBuffer9* buffer = nullptr;
        EXPECT_EQ(device_->CreateVertexBuffer(kCapacity * sizeof(ColorVertex), usage, kColorFvf, pool, &buffer,
                                              nullptr),
                  D3D_OK);
        owned_.push_back(buffer);
        return buffer;
    }

    void Write(IDirect3DVertexBuffer9* buffer, UINT first, const std::vector<ColorVertex>& vertices, DWORD flags)
    {
        void* p = nullptr;
        const UINT offset = first * sizeof(ColorVertex);
        const UINT size = flags & D3DLOCK_DISCARD ? 0 : UINT(vertices.size() * sizeof(ColorVertex));
        ASSERT_EQ(buffer->Lock(flags & D3DLOCK_DISCARD ? 0 : offset, size, &p, flags), D3D_OK);
        std::memcpy(static_cast<char*>(p) + (flags & D3DLOCK_DISCARD ? offset : 0), vertices.data(),
                    vertices.size() * sizeof(ColorVertex));
        ASSERT_EQ(buffer->Unlock(), D3D_OK);
    }

    // Uploads every draw so far made, constants included, then forgets the counts.
    void Settle()
    {
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DrawColorTriangles({{-2, -2, 0, kBlack}, {-1, -2, 0, kBlack}, {-2, -1, 0, kBlack}});
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        d3d9test::ResetCounters(device_);
    }
};

std::vector<ColorVertex> Triangle(float x, float y, D3DCOLOR colour)
{
    return {{x, y, 0, colour}, {x + 4, y, 0, colour}, {x, y + 4, 0, colour}};
}

TEST_F(BufferUpload, AWholeLockUploadsWhatTheDrawsRead)
{
    CreateDevice(true);
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    Settle();
    IDirect3DVertexBuffer9* buffer = MakeBuffer(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, D3DPOOL_DEFAULT);
    std::vector<ColorVertex> two = Triangle(0, 0, kBlue);
    const auto second = Triangle(8, 8, kRed);
    two.insert(two.end(), second.begin(), second.end());
    Write(buffer, 0, two, D3DLOCK_DISCARD);
    EXPECT_EQ(d3d9test::Counters(device_).bytesUploaded, 0u) << "nothing before a draw reads it";
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, sizeof(ColorVertex)), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    EXPECT_EQ(d3d9test::Counters(device_).bytesUploaded, 3 * sizeof(ColorVertex));
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    EXPECT_EQ(d3d9test::Counters(device_).bytesUploaded, 6 * sizeof(ColorVertex)) << "only the new part";
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 3, 1), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(d3d9test::Counters(device_).bytesUploaded, 6 * sizeof(ColorVertex));
    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 1, 1), kBlue);
    EXPECT_EQ(At(pixels, 9, 9), kRed);

    // The next discarding lock starts again: its own bytes, nothing older.
    Write(buffer, 0, Triangle(4, 0, kRed), D3DLOCK_DISCARD);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(d3d9test::Counters(device_).bytesUploaded, 9 * sizeof(ColorVertex));
    EXPECT_EQ(At(TargetPixels(), 5, 1), kRed);
}

TEST_F(BufferUpload, PartialLocksKeepTheBytesAroundThem)
{
    CreateDevice(true);
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    IDirect3DVertexBuffer9* buffer = MakeBuffer(D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    std::vector<ColorVertex> two = Triangle(0, 0, kBlue);
    const auto second = Triangle(8, 8, kBlue);
    two.insert(two.end(), second.begin(), second.end());
    Write(buffer, 0, two, 0);
    ASSERT_EQ(device_->SetFVF(kColorFvf), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, sizeof(ColorVertex)), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    // The second triangle alone is rewritten; the first stays as drawn.
    Write(buffer, 3, Triangle(8, 8, kRed), 0);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 1, 1), kBlue);
    EXPECT_EQ(At(pixels, 9, 9), kRed);
}

} // namespace
} // namespace d3d9fixture
