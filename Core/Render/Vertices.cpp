#include "Core/Render/Vertices.h"

#include "Core/Render/BufferDoubleCache.h"

namespace render
{
VertexFormat SVertex2D::Format;
VertexFormat SVertexGeom::Format;
VertexFormat SVertexRT::Format;

void MakeVertexFormatSVertex2D()
{
    VertexFormat& f = SVertex2D::Format;
    f = VertexFormat();
    f.mCacheCapacity = 40960;
    f.mOverflowCapacity = 10240;
    f.mStride = sizeof(SVertex2D);
    f.AddElement("pos", 0, 16, kUsagePositionXYZW, 4);
    f.AddElement("diff", 16, 4, kUsageDiffuse, 4);
    f.AddElement("spec", 20, 4, kUsageSpecular, 4);
    f.AddElement("tutv", 24, 8, kUsageTexCoord, 2);
    f.Finish();
    RegisterVertexFormat(f, new BufferDoubleCacheCreatorConcrete<SVertex2D>);
}

void MakeVertexFormatSVertexGeom()
{
    VertexFormat& f = SVertexGeom::Format;
    f = VertexFormat();
    f.mCacheCapacity = 5120;
    f.mOverflowCapacity = 1024;
    f.mStride = sizeof(SVertexGeom);
    f.AddElement("pos", 0, 12, kUsagePositionXYZ, 3);
    f.AddElement("diff", 12, 4, kUsageDiffuse, 4);
    f.Finish();
    RegisterVertexFormat(f, new BufferDoubleCacheCreatorConcrete<SVertexGeom>);
}

void MakeVertexFormatSVertexRT()
{
    VertexFormat& f = SVertexRT::Format;
    f = VertexFormat();
    f.mStride = sizeof(SVertexRT);
    f.AddElement("pos", 0, 16, kUsagePositionXYZW, 4);
    f.AddElement("tutv", 16, 8, kUsageTexCoord, 2);
    f.Finish();
    RegisterVertexFormat(f, new BufferDoubleCacheCreatorConcrete<SVertexRT>);
}

void RegisterVertexFormats()
{
    // Explicit, not static initialisers: those are dropped from a static
    // library when nothing names their file, and their order is unspecified.
    static const bool done = [] {
        MakeVertexFormatSVertex2D();
        MakeVertexFormatSVertexGeom();
        MakeVertexFormatSVertexRT();
        return true;
    }();
    (void)done;
}
} // namespace render
