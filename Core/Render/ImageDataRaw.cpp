#include "Core/Render/ImageDataRaw.h"

#include "Core/Base/Stream.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/HitMask.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace render
{
int ImageDataRaw::SizeFromFloat(float value)
{
    return std::max(0, math::TruncateToInt32(value));
}

HVResultEnum ImageDataRaw::Load(base::Stream* stream, const wchar_t*)
{
    if (!stream)
        return HV_FAIL;
    mStream = stream;
    mWidth = SizeFromFloat(mInfo.w);
    mHeight = SizeFromFloat(mInfo.h);
    mBytesPerPixel = 4;
    mLevelCount = 1;
    mType = 0; // uncompressed 32-bit
    return HV_OK;
}

HVResultEnum ImageDataRaw::Decode(uint32_t pitch, void* destination, HitMask* mask)
{
    if (!mStream || !destination || pitch / 4 < uint32_t(mWidth))
        return HV_FAIL;
    // Row sizes and mask bit numbers are 32-bit.
    if (uint64_t(mWidth) * 4 > UINT32_MAX || uint64_t(mWidth) * uint64_t(mHeight) > UINT32_MAX)
        return HV_FAIL;
    if (mask)
        mask->Resize(uint32_t(mWidth) * uint32_t(mHeight));
    const uint32_t rowBytes = uint32_t(mWidth) * 4;
    for (int y = 0; y < mHeight; ++y)
    {
        auto* row = static_cast<unsigned char*>(destination) + size_t(y) * size_t(pitch);
        // The values are host-order, as the bytes lie in the stream.
        if (mStream->Read(row, rowBytes) != rowBytes)
            return HV_FAIL;
        if (!mask)
            continue;
        for (int x = 0; x < mWidth; ++x)
        {
            uint32_t value;
            std::memcpy(&value, row + size_t(x) * 4, 4);
            mask->Set(uint32_t(x) + uint32_t(y) * uint32_t(mWidth), (value >> 24) >= 10);
        }
    }
    return HV_OK;
}
} // namespace render
