#pragma once

#include "Core/Base/Result.h"

#include <cstdint>

namespace render
{
class Render;
class ImageData;

// A device texture; registered with its Render for device loss and reset.
class Texture
{
public:
    explicit Texture(Render* render);
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();
    virtual HVResultEnum CreateFromImage(ImageData* image) = 0;
    virtual HVResultEnum CreateRenderTarget(int32_t width, int32_t height) = 0;
    virtual HVResultEnum CreateDynamic(int32_t width, int32_t height) = 0;
    virtual bool GetMaskBit(int32_t x, int32_t y) const = 0;
    virtual HVResultEnum OnResetDevice() = 0;
    virtual HVResultEnum OnLostDevice() = 0;
    virtual bool CanLock() const = 0;
    // Size in pixels is pitch x height / 4.
    virtual HVResultEnum Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address) = 0;
    virtual HVResultEnum Unlock() = 0;
    virtual HVResultEnum Upload(const void* pixels) = 0;

    int32_t GetWidth() const { return mWidth; }
    int32_t GetHeight() const { return mHeight; }
    Render* GetRender() const { return mRender; }

protected:
    Render* mRender;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
};
} // namespace render
