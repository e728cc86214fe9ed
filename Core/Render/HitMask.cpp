#include "Core/Render/HitMask.h"

namespace render
{
void HitMask::Resize(uint32_t bits)
{
    mBits = bits;
    std::vector<uint8_t>((size_t(bits) + 7) / 8, 0).swap(mBytes);
}

bool HitMask::Get(uint32_t k) const { return k < mBits && (mBytes[k / 8] >> (k % 8) & 1) != 0; }

void HitMask::Set(uint32_t k, bool value)
{
    if (k >= mBits)
        return;
    const uint8_t bit = uint8_t(1u << (k % 8));
    if (value)
        mBytes[k / 8] |= bit;
    else
        mBytes[k / 8] &= uint8_t(~bit);
}
} // namespace render
