#include "RecordingRender.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/Vertices.h"
#include "Platform/D3D9/D3D9Types.h"

#include <gtest/gtest.h>

namespace rendertest
{
namespace
{
using Cache2D = render::BufferDoubleCache<render::VertexBuffer<render::SVertex2D>>;

class CacheTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(r.Init(), HV_OK);
        cache = render::GetVertexCache<render::SVertex2D>(&r);
        ASSERT_NE(cache, nullptr);
    }
    RecordingRender r;
    Cache2D* cache = nullptr;
    render::SVertex2D* v = nullptr;
    render::BufferRange<render::VertexBuffer<render::SVertex2D>> range;
};

TEST_F(CacheTest, FullMainBufferSpillsIntoANewOverflowBufferAtZero)
{
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    for (int i = 0; i < 10240; ++i)
        ASSERT_EQ(cache->Reserve(4, &v, range), HV_OK) << i;
    EXPECT_EQ(range.mBuffer, cache->GetMain());
    EXPECT_EQ(range.mFirst, 40956u);
    EXPECT_TRUE(cache->GetOverflow().empty());
    ASSERT_EQ(cache->Reserve(4, &v, range), HV_OK);
    ASSERT_EQ(cache->GetOverflow().size(), 1u);
    EXPECT_EQ(range.mBuffer, cache->GetOverflow()[0]);
    EXPECT_EQ(range.mFirst, 0u);
    EXPECT_EQ(cache->GetOverflow()[0]->mImpl->GetCount(), 10240u);
    ASSERT_EQ(r.EndFrame(), HV_OK);
}

TEST_F(CacheTest, RequestsLargerThanAnOverflowBufferFail)
{
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    ASSERT_EQ(cache->Reserve(40960, &v, range), HV_OK);
    EXPECT_EQ(cache->Reserve(10241, &v, range), HV_FAIL);
    EXPECT_EQ(cache->Reserve(10240, &v, range), HV_OK);
    EXPECT_EQ(range.mFirst, 0u);
    EXPECT_EQ(range.mCount, 10240u);
    ASSERT_EQ(r.EndFrame(), HV_OK);
}

TEST_F(CacheTest, OverflowBuffersAreReusedNextFrame)
{
    for (int frame = 0; frame < 3; ++frame)
    {
        ASSERT_EQ(r.BeginFrame(), HV_OK);
        ASSERT_EQ(cache->Reserve(40000, &v, range), HV_OK);
        ASSERT_EQ(cache->Reserve(8000, &v, range), HV_OK);
        ASSERT_EQ(cache->Reserve(8000, &v, range), HV_OK);
        EXPECT_EQ(range.mFirst, 0u);
        ASSERT_EQ(r.EndFrame(), HV_OK);
        EXPECT_EQ(cache->GetOverflow().size(), 2u);
        EXPECT_FALSE(cache->GetMain()->mImpl->IsLocked());
    }
}

TEST_F(CacheTest, OpenAndCloseAreCheckedAndReserveNeedsAnOpenCache)
{
    EXPECT_EQ(cache->Reserve(4, &v, range), HV_FAIL);
    EXPECT_EQ(cache->Unlock(), HV_FAIL);
    ASSERT_EQ(cache->Lock(), HV_OK);
    EXPECT_EQ(cache->Lock(), HV_FAIL);
    EXPECT_TRUE(cache->IsOpen());
    EXPECT_EQ(cache->Unlock(), HV_OK);
    EXPECT_FALSE(cache->IsOpen());
}

TEST_F(CacheTest, WrittenVerticesLandInTheBufferAtTheRange)
{
    ASSERT_EQ(r.BeginFrame(), HV_OK);
    ASSERT_EQ(cache->Reserve(4, &v, range), HV_OK);
    ASSERT_EQ(cache->Reserve(2, &v, range), HV_OK);
    v[1].u = 7.5f;
    auto* memory = static_cast<MemoryVertexBuffer*>(range.mBuffer->mImpl);
    render::SVertex2D stored;
    std::memcpy(&stored, memory->mMemory.data() + sizeof(render::SVertex2D) * 5, sizeof stored);
    EXPECT_EQ(stored.u, 7.5f);
    ASSERT_EQ(r.EndFrame(), HV_OK);
}

TEST_F(CacheTest, FormatWithoutCapacitiesHasNoCache)
{
    EXPECT_EQ(r.GetVertexCache(render::SVertexRT::Format.mId), nullptr);
    EXPECT_NE(r.GetVertexCache(render::SVertexGeom::Format.mId), nullptr);
    EXPECT_NE(r.GetIndexCache32(), nullptr);
}

TEST(VertexFormatTest, FvfAndTextureSetsOfTheThreeFormats)
{
    render::RegisterVertexFormats();
    struct Row
    {
        const render::VertexFormat& format;
        int id;
        uint32_t fvf, stride;
        std::vector<std::pair<int32_t, int32_t>> sets;
    };
    const Row rows[] = {
        {render::SVertex2D::Format, 0, D3DFVF_XYZW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1, 32, {{2, 24}}},
        {render::SVertexGeom::Format, 1, D3DFVF_XYZ | D3DFVF_DIFFUSE, 16, {}},
        {render::SVertexRT::Format, 2, D3DFVF_XYZW | D3DFVF_TEX1, 24, {{2, 16}}},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(row.format.mId, row.id);
        EXPECT_EQ(row.format.mFvf, row.fvf) << row.id;
        EXPECT_EQ(row.format.mStride, row.stride);
        EXPECT_EQ(row.format.mTexCoordSets, row.sets);
        EXPECT_EQ(row.format.mPosition.mName, "pos");
        ASSERT_NE(render::GetVertexFormat(row.id), nullptr);
        EXPECT_EQ(render::GetVertexFormat(row.id)->mFvf, row.fvf);
    }
}

TEST(VertexFormatTest, TextureSetSizesAddTheirBits)
{
    render::VertexFormat f;
    f.AddElement("pos", 0, 12, render::kUsagePositionXYZ, 3);
    f.AddElement("t0", 12, 4, render::kUsageTexCoord, 1);
    f.AddElement("t1", 16, 8, render::kUsageTexCoord, 2);
    f.AddElement("t2", 24, 12, render::kUsageTexCoord, 3);
    f.AddElement("t3", 36, 16, render::kUsageTexCoord, 4);
    f.AddElement("odd", 52, 4, 9, 1);
    f.Finish();
    EXPECT_EQ(f.mFvf, D3DFVF_XYZ | D3DFVF_TEXCOORDSIZE1(0) | D3DFVF_TEXCOORDSIZE3(2) | D3DFVF_TEXCOORDSIZE4(3) |
                          D3DFVF_TEX4);
    EXPECT_EQ(f.mElements.size(), 6u);
}

TEST(CommandBufferTest, GrowsByHalfOrToTheRequestAndKeepsItsBytes)
{
    struct Row
    {
        uint32_t written, size;
    };
    // Below floor(1.5 x size) the block grows to that; otherwise to the
    // request + 1024.
    const Row rows[] = {{4, 1028}, {1024, 1028}, {1, 1542}, {2000, 4053}, {1100, 6079}};
    render::CommandBuffer s;
    uint32_t total = 0;
    for (const Row& row : rows)
    {
        std::vector<unsigned char> bytes(row.written, static_cast<unsigned char>(total % 251));
        ASSERT_EQ(s.Write(bytes.data(), row.written), row.written);
        total += row.written;
        EXPECT_EQ(s.Size(), row.size) << total;
    }
    uint32_t at = 0;
    for (const Row& row : rows)
    {
        EXPECT_EQ(s.GetData()[at], at % 251);
        EXPECT_EQ(s.GetData()[at + row.written - 1], at % 251);
        at += row.written;
    }
}

TEST(HitMaskTest, BitKLivesInByteKOverEightLeastSignificantFirst)
{
    render::HitMask mask;
    mask.Resize(20);
    EXPECT_EQ(mask.GetBytes().size(), 3u);
    mask.Set(0, true);
    mask.Set(9, true);
    mask.Set(19, true);
    EXPECT_EQ(mask.GetBytes(), (std::vector<uint8_t>{0x01, 0x02, 0x08}));
    EXPECT_TRUE(mask.Get(9));
    EXPECT_FALSE(mask.Get(10));
    mask.Set(9, false);
    EXPECT_FALSE(mask.Get(9));
    EXPECT_FALSE(mask.Get(20));
    mask.Resize(8);
    EXPECT_EQ(mask.GetBytes(), (std::vector<uint8_t>{0}));
}
} // namespace
} // namespace rendertest
