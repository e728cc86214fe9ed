#pragma once

#include "Core/Base/Result.h"

#include <cstdint>

namespace base
{
class Stream;
}

namespace render
{
class HitMask;

// A picture decoder: reads a header (or the whole picture) on Load, then
// writes level 0 into locked texture memory and fills the hit mask.
class ImageData
{
public:
    ImageData() = default;
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    virtual ~ImageData() = default;
    virtual HVResultEnum Load(base::Stream* stream, const wchar_t* extension) = 0;
    virtual HVResultEnum Decode(uint32_t pitch, void* destination, HitMask* mask) = 0;
    virtual int32_t GetDecodedSize() const { return mWidth * mHeight * 4; }

    int32_t GetWidth() const { return mWidth; }
    int32_t GetHeight() const { return mHeight; }
    int32_t GetBytesPerPixel() const { return mBytesPerPixel; }
    int32_t GetLevelCount() const { return mLevelCount; }
    // 0 uncompressed 32-bit, 1 DXT1, 2 DXT3, 3 DXT5.
    int32_t GetType() const { return mType; }

protected:
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mBytesPerPixel = 4;
    int32_t mLevelCount = 1;
    int32_t mType = 0;
};
} // namespace render
