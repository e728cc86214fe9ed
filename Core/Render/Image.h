#pragma once

// A drawable picture: a whole texture, or a part of an atlas texture shared
// through a texture resource, with its per-pixel hit test.
#include "Core/Base/Result.h"
#include "Core/Resource/ResourceHandle.h"

#include <cstdint>

namespace resource
{
class ResourceTexture;
}

namespace render
{
class Texture;
class VertexFormat;

class Image
{
public:
    // An empty image, to be assigned a texture resource.
    Image() = default;
    // An image over a texture of its own (render targets, dynamic textures).
    explicit Image(Texture* owned);
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    // Releases whatever Release has not released yet.
    virtual ~Image();

    void Assign(const resource::ResourceHandle<resource::ResourceTexture>& handle);
    // Deletes an own texture, gives the resource's use back, clears the image.
    void Release();

    bool HitTest(int x, int y) const;
    // Maps texture-coordinate set `set` of count vertices into the atlas
    // sub-rectangle; nothing to do for a picture that is not an atlas part.
    HVResultEnum MapUV(void* vertices, uint32_t count, int32_t set, const VertexFormat* format) const;

    bool CanLock() const;
    HVResultEnum Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address);
    HVResultEnum Unlock();
    HVResultEnum Upload(const void* pixels);

    // Picture pixels; read as ints by the program.
    int GetWidth() const;
    int GetHeight() const;
    uint32_t GetPixelWidth() const { return mWidth; }
    uint32_t GetPixelHeight() const { return mHeight; }
    // The texture drawn from: the root atlas texture for an atlas part.
    Texture* GetTexture() const { return mTexture; }
    resource::ResourceTexture* GetResource() const { return mResource.Get(); }
    const resource::ResourceHandle<resource::ResourceTexture>& GetHandle() const { return mResource; }
    int32_t GetHitOffsetX() const { return mOffsetX; }
    int32_t GetHitOffsetY() const { return mOffsetY; }
    float GetHitScaleX() const { return mScaleX; }
    float GetHitScaleY() const { return mScaleY; }

protected:
    resource::ResourceHandle<resource::ResourceTexture> mResource;
    Texture* mTexture = nullptr;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    // Picture pixels to texture pixels.
    int32_t mOffsetX = 0;
    int32_t mOffsetY = 0;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
};
} // namespace render
