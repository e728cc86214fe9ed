#include "Core/Render/VertexFormat.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Platform/D3D9/D3D9Types.h"

namespace render
{
void VertexFormat::AddElement(const std::string& name, int32_t offset, int32_t size, int usage, int32_t components)
{
    VertexElement element{name, components, size, offset};
    mElements.push_back(element);
    if (name == "pos")
        mPosition = element;
    switch (usage)
    {
    case kUsagePositionXYZ: mFvf |= D3DFVF_XYZ; break;
    case kUsagePositionXYZW: mFvf |= D3DFVF_XYZW; break;
    case kUsageNormal: mFvf |= D3DFVF_NORMAL; break;
    case kUsageDiffuse: mFvf |= D3DFVF_DIFFUSE; break;
    case kUsageSpecular: mFvf |= D3DFVF_SPECULAR; break;
    case kUsageTexCoord:
    {
        const uint32_t n = uint32_t(mTexCoordSets.size());
        if (components == 1)
            mFvf |= D3DFVF_TEXCOORDSIZE1(n);
        else if (components == 3)
            mFvf |= D3DFVF_TEXCOORDSIZE3(n);
        else if (components == 4)
            mFvf |= D3DFVF_TEXCOORDSIZE4(n);
        mTexCoordSets.emplace_back(components, offset);
        break;
    }
    default: break;
    }
}

void VertexFormat::Finish()
{
    const size_t sets = mTexCoordSets.size();
    if (sets >= 1 && sets <= 8)
        mFvf |= uint32_t(sets) << D3DFVF_TEXCOUNT_SHIFT;
}

std::vector<VertexFormat>& VertexFormats()
{
    static std::vector<VertexFormat> formats;
    return formats;
}

std::vector<BufferDoubleCacheCreator*>& CacheCreators()
{
    // Owns the creators until exit.
    struct Creators
    {
        std::vector<BufferDoubleCacheCreator*> list;
        ~Creators()
        {
            for (BufferDoubleCacheCreator* creator : list)
                delete creator;
        }
    };
    static Creators creators;
    return creators.list;
}

int32_t RegisterVertexFormat(VertexFormat& format, BufferDoubleCacheCreator* creator)
{
    std::vector<VertexFormat>& formats = VertexFormats();
    std::vector<BufferDoubleCacheCreator*>& creators = CacheCreators();
    format.mId = int32_t(formats.size());
    formats.resize(size_t(format.mId) + 1);
    creators.resize(size_t(format.mId) + 1, nullptr);
    formats[size_t(format.mId)] = format;
    creators[size_t(format.mId)] = creator;
    return format.mId;
}

const VertexFormat* GetVertexFormat(int32_t id)
{
    const std::vector<VertexFormat>& formats = VertexFormats();
    if (id < 0 || size_t(id) >= formats.size())
        return nullptr;
    return &formats[size_t(id)];
}
} // namespace render
