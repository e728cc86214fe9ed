// Draws after a change of the vertex input read the new input: the device
// keeps its attribute pointers between draws and must notice every change.
#include "DeviceFixture.h"

#include <cstring>
#include <string>
#include <vector>

namespace d3d9fixture {
namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kBlack = 0xFF000000;

// Two triangles filling the half of the target left (or right) of x = 8.
std::vector<ColorVertex> Half(bool right, D3DCOLOR color)
{
    const float x0 = right ? 8.0f : 0.0f, x1 = x0 + 8.0f;
    return {{x0, 0, 0, color}, {x1, 0, 0, color}, {x0, 16, 0, color},
            {x1, 0, 0, color}, {x1, 16, 0, color}, {x0, 16, 0, color}};
}

enum class Change
{
    StreamOffset,   // the same buffer from further in
    BaseVertex,     // the same buffer and offset, an indexed draw's base vertex
    ReplacedBuffer, // the first buffer released, a new one bound (its name may be reused)
    WiderStride,    // a buffer of padded vertices
};

struct Case
{
    const char* name;
    Change change;
};

class VertexInput : public DeviceTest, public testing::WithParamInterface<Case>
{
protected:
    IDirect3DVertexBuffer9* MakeBuffer(const void* data, UINT bytes)
    {
        IDirect3DVertexBuffer9* buffer = nullptr;
        EXPECT_EQ(device_->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, kColorFvf,
                                              D3DPOOL_DEFAULT, &buffer, nullptr),
                  D3D_OK);
        void* p = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
        std::memcpy(p, data, bytes);
        EXPECT_EQ(buffer->Unlock(), D3D_OK);
        return buffer;
    }

    void SetIndices(UINT count)
    {
        IDirect3DIndexBuffer9* indices = nullptr;
        ASSERT_EQ(device_->CreateIndexBuffer(count * 2, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, D3DFMT_INDEX16,
                                             D3DPOOL_DEFAULT, &indices, nullptr),
                  D3D_OK);
        owned_.push_back(indices);
        void* p = nullptr;
        ASSERT_EQ(indices->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
        for (UINT i = 0; i < count; ++i)
        {
            const uint16_t index = uint16_t(i);
            std::memcpy(static_cast<uint8_t*>(p) + i * 2, &index, 2);
        }
        ASSERT_EQ(indices->Unlock(), D3D_OK);
        ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    }
};

TEST_P(VertexInput, TheSecondDrawReadsTheChangedInput)
{
    CreateDevice(true);
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->SetFVF(kColorFvf), D3D_OK);
    SetIndices(6);

    // One buffer: the red left half, then the blue right half.
    std::vector<ColorVertex> both = Half(false, kRed);
    const std::vector<ColorVertex> blue = Half(true, kBlue);
    both.insert(both.end(), blue.begin(), blue.end());
    const UINT stride = sizeof(ColorVertex);
    IDirect3DVertexBuffer9* first = MakeBuffer(both.data(), UINT(both.size() * stride));
    ASSERT_EQ(device_->SetStreamSource(0, first, 0, stride), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3D_OK);

    switch (GetParam().change)
    {
    case Change::StreamOffset:
        owned_.push_back(first);
        ASSERT_EQ(device_->SetStreamSource(0, first, 6 * stride, stride), D3D_OK);
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3D_OK);
        break;
    case Change::BaseVertex:
        owned_.push_back(first);
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 6, 0, 6, 0, 2), D3D_OK);
        break;
    case Change::ReplacedBuffer:
    {
        ASSERT_EQ(device_->SetStreamSource(0, nullptr, 0, 0), D3D_OK);
        first->Release();
        IDirect3DVertexBuffer9* second = MakeBuffer(blue.data(), UINT(blue.size() * stride));
        owned_.push_back(second);
        ASSERT_EQ(device_->SetStreamSource(0, second, 0, stride), D3D_OK);
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3D_OK);
        break;
    }
    case Change::WiderStride:
    {
        owned_.push_back(first);
        struct Padded
        {
            ColorVertex vertex;
            float pad;
        };
        std::vector<Padded> padded;
        for (const ColorVertex& v : blue)
            padded.push_back({v, -1.0f});
        IDirect3DVertexBuffer9* second = MakeBuffer(padded.data(), UINT(padded.size() * sizeof(Padded)));
        owned_.push_back(second);
        ASSERT_EQ(device_->SetStreamSource(0, second, 0, sizeof(Padded)), D3D_OK);
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3D_OK);
        break;
    }
    }
    ASSERT_EQ(device_->EndScene(), D3D_OK);

    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 3, 8), kRed) << "the first draw";
    EXPECT_EQ(At(pixels, 12, 8), kBlue) << "the second draw";
    EXPECT_EQ(At(pixels, 15, 15), kBlue);
}

INSTANTIATE_TEST_SUITE_P(Table, VertexInput,
                         testing::Values(Case{"StreamOffset", Change::StreamOffset},
                                         Case{"BaseVertex", Change::BaseVertex},
                                         Case{"ReplacedBuffer", Change::ReplacedBuffer},
                                         Case{"WiderStride", Change::WiderStride}),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace d3d9fixture
