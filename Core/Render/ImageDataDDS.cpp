#include "Core/Render/ImageDataDDS.h"

#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"

#include <cstring>

namespace render
{
namespace
{
constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kFourCCFlag = 0x4;

uint32_t ReadLE32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr uint32_t FourCC(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

int BlockBytes(int type) { return type == ImageDataDDS::kTypeDXT1 ? 8 : 16; }
} // namespace

HVResultEnum ImageDataDDS::Load(base::Stream* stream, const wchar_t*)
{
    if (!stream)
        return HV_FAIL;
    unsigned char magic[4];
    if (stream->Read(magic, 4) != 4 || std::memcmp(magic, "DDS ", 4) != 0)
        return HV_FAIL;
    unsigned char header[kHeaderSize];
    if (stream->Read(header, kHeaderSize) != kHeaderSize)
        return HV_FAIL;
    const uint32_t height = ReadLE32(header + 8);
    const uint32_t width = ReadLE32(header + 12);
    const uint32_t flags = ReadLE32(header + 76);
    if (width == 0 || height == 0 || width > uint32_t(kMaxSide) || height > uint32_t(kMaxSide))
        return HV_FAIL;
    mWidth = int(width);
    mHeight = int(height);
    mBytesPerPixel = 4;
    // Only level 0 is ever written, so the texture gets one level.
    mLevelCount = 1;
    if (flags & kFourCCFlag)
    {
        const uint32_t code = ReadLE32(header + 80);
        if (code == FourCC('D', 'X', 'T', '1'))
            mType = kTypeDXT1;
        else if (code == FourCC('D', 'X', 'T', '3'))
            mType = kTypeDXT3;
        else if (code == FourCC('D', 'X', 'T', '5'))
            mType = kTypeDXT5;
        else
            return HV_FAIL;
    }
    else
    {
        // Anything but A8R8G8B8 would be copied as garbage.
        if (ReadLE32(header + 84) != 32 || ReadLE32(header + 88) != 0x00FF0000u ||
            ReadLE32(header + 92) != 0x0000FF00u || ReadLE32(header + 96) != 0x000000FFu ||
            ReadLE32(header + 100) != 0xFF000000u)
            return HV_FAIL;
        mType = kTypeA8R8G8B8;
    }
    const uint32_t size = stream->Size();
    mDataSize = size > 128 ? size - 128 : 0;
    if (uint64_t(mDataSize) < uint64_t(GetRowBytes()) * uint64_t(GetRowCount()))
        return HV_FAIL;
    mStream = stream;
    return HV_OK;
}

int ImageDataDDS::GetRowBytes() const
{
    if (mType == kTypeA8R8G8B8)
        return mWidth * 4;
    return (mWidth + 3) / 4 * BlockBytes(mType);
}

int ImageDataDDS::GetRowCount() const
{
    return mType == kTypeA8R8G8B8 ? mHeight : (mHeight + 3) / 4;
}

void ImageDataDDS::DecodeBlockAlpha(int type, const unsigned char* block, unsigned char alpha[16])
{
    if (type == kTypeDXT1)
    {
        const uint32_t c0 = uint32_t(block[0]) | uint32_t(block[1]) << 8;
        const uint32_t c1 = uint32_t(block[2]) | uint32_t(block[3]) << 8;
        const uint32_t indices = ReadLE32(block + 4);
        const bool threeColour = c0 <= c1;
        for (int i = 0; i < 16; ++i)
            alpha[i] = (threeColour && ((indices >> (2 * i)) & 3) == 3) ? 0 : 255;
    }
    else if (type == kTypeDXT3)
    {
        for (int i = 0; i < 16; ++i)
            alpha[i] = uint8_t(((block[i / 2] >> (4 * (i % 2))) & 0xF) * 17);
    }
    else
    {
        const int a0 = block[0];
        const int a1 = block[1];
        int palette[8] = {a0, a1};
        if (a0 > a1)
        {
            for (int k = 2; k < 8; ++k)
                palette[k] = ((8 - k) * a0 + (k - 1) * a1) / 7;
        }
        else
        {
            for (int k = 2; k < 6; ++k)
                palette[k] = ((6 - k) * a0 + (k - 1) * a1) / 5;
            palette[6] = 0;
            palette[7] = 255;
        }
        uint64_t bits = 0;
        for (int b = 0; b < 6; ++b)
            bits |= uint64_t(block[2 + b]) << (8 * b);
        for (int i = 0; i < 16; ++i)
            alpha[i] = uint8_t(palette[(bits >> (3 * i)) & 7]);
    }
}

HVResultEnum ImageDataDDS::Decode(uint32_t pitch, void* destination, HitMask* mask)
{
    if (!mStream || !destination)
        return HV_FAIL;
    const int rowBytes = GetRowBytes();
    const int rows = GetRowCount();
    if (pitch < uint32_t(rowBytes))
        return HV_FAIL;
    auto* out = static_cast<unsigned char*>(destination);
    // Row by row with the locked pitch; later levels and trailing bytes are never read.
    for (int r = 0; r < rows; ++r)
        if (mStream->Read(out + size_t(r) * size_t(pitch), uint32_t(rowBytes)) != uint32_t(rowBytes))
            return HV_FAIL;
    if (!mask)
        return HV_OK;
    mask->Resize(uint32_t(mWidth) * uint32_t(mHeight));
    if (mType == kTypeA8R8G8B8)
    {
        for (int y = 0; y < mHeight; ++y)
        {
            const unsigned char* row = out + size_t(y) * size_t(pitch);
            for (int x = 0; x < mWidth; ++x)
                mask->Set(uint32_t(x + y * mWidth), row[x * 4 + 3] > 10);
        }
        return HV_OK;
    }
    const int blockBytes = BlockBytes(mType);
    const int blocksX = (mWidth + 3) / 4;
    unsigned char alpha[16];
    for (int by = 0; by < rows; ++by)
    {
        const unsigned char* row = out + size_t(by) * size_t(pitch);
        for (int bx = 0; bx < blocksX; ++bx)
        {
            DecodeBlockAlpha(mType, row + size_t(bx) * size_t(blockBytes), alpha);
            // Partial edge blocks: only texels inside the picture have bits.
            for (int i = 0; i < 16; ++i)
            {
                const int x = bx * 4 + i % 4;
                const int y = by * 4 + i / 4;
                if (x < mWidth && y < mHeight)
                    mask->Set(uint32_t(x + y * mWidth), alpha[i] > 10);
            }
        }
    }
    return HV_OK;
}
} // namespace render
