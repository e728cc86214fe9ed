#include "Core/Render/Image.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"
#include "Core/Resource/ResourceTexture.h"

#include <climits>
#include <cstring>

namespace render
{
namespace
{
// Truncation, with NaN and out-of-range values clamped first: converting
// them is undefined, and a layer description may hold anything.
uint32_t ToSize(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 4294967296.0f)
        return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

uint32_t FromTextureSize(int32_t size) { return size > 0 ? uint32_t(size) : 0; }
} // namespace

Image::Image(Texture* owned)
    : mTexture(owned)
{
    if (owned)
    {
        mWidth = FromTextureSize(owned->GetWidth());
        mHeight = FromTextureSize(owned->GetHeight());
    }
}

Image::~Image() { Release(); }

void Image::Assign(const resource::ResourceHandle<resource::ResourceTexture>& handle)
{
    // A texture of our own would be lost once the resource's takes its place.
    if (!mResource && mTexture)
        delete mTexture;
    mResource = handle;
    mTexture = nullptr;
    mWidth = mHeight = 0;
    mOffsetX = mOffsetY = 0;
    mScaleX = mScaleY = 1.0f;
    resource::ResourceTexture* resource = mResource.Get();
    if (!resource)
        return;

    const resource::ResourceTexture* root = resource;
    while (root->GetAtlasParent())
        root = root->GetAtlasParent().Get();
    mTexture = root->GetTexture();

    mWidth = ToSize(resource->w);
    mHeight = ToSize(resource->h);
    const float textureWidth = mTexture ? float(mTexture->GetWidth()) : 0.0f;
    const float textureHeight = mTexture ? float(mTexture->GetHeight()) : 0.0f;
    mOffsetX = math::TruncateToInt32(resource->u * textureWidth + 0.5f);
    mOffsetY = math::TruncateToInt32(resource->v * textureHeight + 0.5f);
    if (mWidth)
        mScaleX = resource->du * textureWidth / float(mWidth);
    if (mHeight)
        mScaleY = resource->dv * textureHeight / float(mHeight);
}

void Image::Release()
{
    if (!mResource && mTexture)
        delete mTexture;
    mTexture = nullptr;
    mResource.Reset();
    mWidth = mHeight = 0;
    mOffsetX = mOffsetY = 0;
    mScaleX = mScaleY = 1.0f;
}

bool Image::HitTest(int x, int y) const
{
    if (x < 0 || y < 0 || uint32_t(x) >= mWidth || uint32_t(y) >= mHeight || !mTexture)
        return false;
    if (mResource)
    {
        x = math::TruncateToInt32(float(x) * mScaleX + float(mOffsetX) + 0.5f);
        y = math::TruncateToInt32(float(y) * mScaleY + float(mOffsetY) + 0.5f);
    }
    return mTexture->GetMaskBit(x, y);
}

HVResultEnum Image::MapUV(void* vertices, uint32_t count, int32_t set, const VertexFormat* format) const
{
    const resource::ResourceTexture* resource = mResource.Get();
    if (!resource || !resource->fromAtlas)
        return HV_OK;
    if (!format || set < 0 || size_t(set) >= format->mTexCoordSets.size() || format->mTexCoordSets[size_t(set)].first < 2)
        return HV_FAIL;
    const size_t offset = size_t(format->mTexCoordSets[size_t(set)].second);
    auto* bytes = static_cast<unsigned char*>(vertices);
    for (uint32_t i = 0; i < count; ++i)
    {
        unsigned char* at = bytes + size_t(i) * format->mStride + offset;
        float uv[2];
        std::memcpy(uv, at, sizeof uv);
        uv[0] = uv[0] * resource->du + resource->u;
        uv[1] = uv[1] * resource->dv + resource->v;
        std::memcpy(at, uv, sizeof uv);
    }
    return HV_OK;
}

bool Image::CanLock() const { return mTexture && mTexture->CanLock(); }

HVResultEnum Image::Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address)
{
    return mTexture ? mTexture->Lock(sizeInPixels, pitch, address) : HV_FAIL;
}

HVResultEnum Image::Unlock() { return mTexture ? mTexture->Unlock() : HV_FAIL; }

HVResultEnum Image::Upload(const void* pixels) { return mTexture ? mTexture->Upload(pixels) : HV_FAIL; }

int Image::GetWidth() const { return mWidth > uint32_t(INT_MAX) ? INT_MAX : int(mWidth); }

int Image::GetHeight() const { return mHeight > uint32_t(INT_MAX) ? INT_MAX : int(mHeight); }
} // namespace render
