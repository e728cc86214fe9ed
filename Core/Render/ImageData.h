#pragma once

// A decoded (or decodable) picture: its header is read by Load, its level-0
// pixels are written into locked texture memory by Decode.
#include "Core/Base/Result.h"

#include <cstdint>

namespace base
{
class Stream;
}

namespace render
{
class HitMask;

class ImageData
{
public:
    enum Type
    {
        kTypeA8R8G8B8 = 0,
        kTypeDXT1 = 1,
        kTypeDXT3 = 2,
        kTypeDXT5 = 3,
    };

    ImageData() = default;
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    virtual ~ImageData() = default;

    virtual int Load(base::Stream* stream, const wchar_t* extension) = 0;
    // Writes level 0 at destination, rows pitch bytes apart, and sets every bit of the mask.
    virtual int Decode(int pitch, void* destination, HitMask* mask) = 0;
    virtual int GetDecodedSize();

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    int GetBytesPerPixel() const { return mBytesPerPixel; }
    int GetLevelCount() const { return mLevelCount; }
    int GetType() const { return mType; }

protected:
    int mWidth = 0;
    int mHeight = 0;
    int mBytesPerPixel = 4;
    int mLevelCount = 1;
    int mType = kTypeA8R8G8B8;
};
} // namespace render
