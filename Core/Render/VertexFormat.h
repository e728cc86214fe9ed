#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace render
{
class BufferDoubleCacheCreator;

struct VertexElement
{
    std::string mName;
    int32_t mComponents = 0;
    int32_t mSize = 0;
    int32_t mOffset = 0;
};

// Element usage codes of a format declaration.
enum VertexUsage : int
{
    kUsagePositionXYZ = 0,
    kUsagePositionXYZW = 1,
    kUsageNormal = 2,
    kUsageDiffuse = 3,
    kUsageSpecular = 4,
    kUsageTexCoord = 5,
};

class VertexFormat
{
public:
    // Appends an element and accumulates its FVF bits; "pos" also becomes the
    // position element.
    void AddElement(const std::string& name, int32_t offset, int32_t size, int usage, int32_t components);
    // Adds the texture-set count bits; run after the last element.
    void Finish();

    int32_t mId = -1;
    uint32_t mCacheCapacity = 0;
    uint32_t mOverflowCapacity = 0;
    uint32_t mStride = 0;
    uint32_t mFvf = 0;
    VertexElement mPosition;
    std::vector<VertexElement> mElements;
    std::vector<std::pair<int32_t, int32_t>> mTexCoordSets; // components, offset
};

// Process-wide registries, indexed by format id.
std::vector<VertexFormat>& VertexFormats();
std::vector<BufferDoubleCacheCreator*>& CacheCreators();
// Gives the format the next id and stores a copy with its cache creator.
int32_t RegisterVertexFormat(VertexFormat& format, BufferDoubleCacheCreator* creator);
const VertexFormat* GetVertexFormat(int32_t id);
} // namespace render
