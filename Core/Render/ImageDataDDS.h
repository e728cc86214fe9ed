#pragma once

// DirectDraw Surface pictures: A8R8G8B8, DXT1, DXT3 and DXT5; level 0 only.
#include "Core/Render/ImageData.h"

namespace render
{
class ImageDataDDS : public ImageData
{
public:
    static constexpr int kMaxSide = 16384;
    // Picture types as the texture reads them.
    static constexpr int kTypeA8R8G8B8 = 0;
    static constexpr int kTypeDXT1 = 1;
    static constexpr int kTypeDXT3 = 2;
    static constexpr int kTypeDXT5 = 3;

    HVResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    HVResultEnum Decode(uint32_t pitch, void* destination, HitMask* mask) override;

    // Bytes of one row of texels (type 0) or of one row of 4x4 blocks.
    int GetRowBytes() const;
    int GetRowCount() const;
    // The 16 alpha values of one block, row-major; type 1, 2 or 3.
    static void DecodeBlockAlpha(int type, const unsigned char* block, unsigned char alpha[16]);

private:
    base::Stream* mStream = nullptr;
    uint32_t mDataSize = 0;
};
} // namespace render
