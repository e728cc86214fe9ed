#include "DeviceFixture.h"

#include <cstring>

namespace d3d9fixture {
namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;

struct PrimitiveCase
{
    const char* name;
    D3DPRIMITIVETYPE type;
    UINT primitives;
    std::vector<std::pair<float, float>> points;
    std::vector<std::pair<UINT, UINT>> covered; // interiors, never line ends
};

enum class Indexing
{
    None,
    Index16,
    Index32,
};

struct Param
{
    PrimitiveCase primitive;
    Indexing indexing;
};

class Primitives : public DeviceTest, public testing::WithParamInterface<Param>
{
};

const std::vector<PrimitiveCase> kCases = {
    {"Points", D3DPT_POINTLIST, 2, {{3, 3}, {9, 12}}, {{3, 3}, {9, 12}}},
    {"Lines", D3DPT_LINELIST, 2, {{1, 5}, {13, 5}, {1, 9}, {13, 9}}, {{6, 5}, {7, 9}}},
    {"LineStrip", D3DPT_LINESTRIP, 2, {{1, 4}, {12, 4}, {12, 14}}, {{6, 4}, {12, 9}}},
    {"Triangles", D3DPT_TRIANGLELIST, 2,
     {{0, 0}, {6, 0}, {0, 6}, {15, 9}, {15, 15}, {9, 15}}, {{1, 1}, {14, 14}}},
    {"Strip", D3DPT_TRIANGLESTRIP, 2, {{2, 2}, {12, 2}, {2, 12}, {12, 12}}, {{4, 4}, {10, 10}}},
    {"Fan", D3DPT_TRIANGLEFAN, 2, {{2, 2}, {12, 2}, {12, 12}, {2, 12}}, {{10, 4}, {4, 10}}},
};

std::vector<Param> AllParams()
{
    std::vector<Param> params;
    for (const auto& c : kCases)
        for (Indexing indexing : {Indexing::None, Indexing::Index16, Indexing::Index32})
            params.push_back({c, indexing});
    return params;
}

TEST_P(Primitives, DrawEveryPrimitiveAndNothingElse)
{
    const Param& param = GetParam();
    const PrimitiveCase& c = param.primitive;
    CreateDevice(true);
    Use(Geom());
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);

    // Indexed draws read past a few unused vertices and indices.
    const UINT pad = param.indexing == Indexing::None ? 0 : 3;
    std::vector<ColorVertex> vertices(pad, ColorVertex{15, 0, 0, 0xFFFFFFFF});
    for (const auto& [x, y] : c.points)
        vertices.push_back({x, y, 0, kBlue});
    BindVertices(vertices.data(), UINT(vertices.size() * sizeof(ColorVertex)),
                 sizeof(ColorVertex), kColorFvf);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    if (param.indexing == Indexing::None)
    {
        ASSERT_EQ(device_->DrawPrimitive(c.type, 0, c.primitives), D3D_OK);
    }
    else
    {
        const bool wide = param.indexing == Indexing::Index32;
        const UINT size = wide ? 4 : 2;
        const UINT count = UINT(c.points.size());
        IDirect3DIndexBuffer9* indices = nullptr;
        ASSERT_EQ(device_->CreateIndexBuffer((pad + count) * size,
                                             D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC,
                                             wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                             D3DPOOL_DEFAULT, &indices, nullptr),
                  D3D_OK);
        owned_.push_back(indices);
        void* p = nullptr;
        ASSERT_EQ(indices->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
        for (UINT i = 0; i < pad + count; ++i)
        {
            const uint32_t index = i < pad ? 0 : i; // padding points at a white vertex
            if (wide)
                std::memcpy(static_cast<uint8_t*>(p) + i * 4, &index, 4);
            else
            {
                const uint16_t narrow = uint16_t(index);
                std::memcpy(static_cast<uint8_t*>(p) + i * 2, &narrow, 2);
            }
        }
        ASSERT_EQ(indices->Unlock(), D3D_OK);
        ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
        ASSERT_EQ(device_->DrawIndexedPrimitive(c.type, 0, pad, count, pad, c.primitives), D3D_OK);
    }
    ASSERT_EQ(device_->EndScene(), D3D_OK);

    const auto pixels = TargetPixels();
    for (const auto& [x, y] : c.covered)
        EXPECT_EQ(At(pixels, x, y), kBlue) << "at " << x << "," << y;
    EXPECT_EQ(At(pixels, 15, 0), 0xFF000000u) << "a padding vertex was drawn";
    EXPECT_EQ(At(pixels, 0, 15), 0xFF000000u);
}

std::string ParamName(const testing::TestParamInfo<Param>& info)
{
    static const char* kIndexing[] = {"", "Indexed16", "Indexed32"};
    return std::string(info.param.primitive.name) + kIndexing[int(info.param.indexing)];
}

INSTANTIATE_TEST_SUITE_P(Table, Primitives, testing::ValuesIn(AllParams()), ParamName);

} // namespace
} // namespace d3d9fixture
