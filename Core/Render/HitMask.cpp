#include "Core/Render/HitMask.h"

namespace render
{
void HitMask::Resize(uint32_t bits)
{
    mBits = bits;
    std::vector<uint8_t>((static_cast<size_t>(bits) + 7) / 8, uint8_t(0)).swap(mStorage);
}

bool HitMask::Get(uint32_t k) const
{
    if (k >= mBits)
        return false;
    return (mStorage[k / 8] >> (k % 8)) & 1;
}

void HitMask::Set(uint32_t k, bool value)
{
    if (k >= mBits)
        return;
    const uint8_t bit = uint8_t(1u << (k % 8));
    if (value)
        mStorage[k / 8] |= bit;
    else
        mStorage[k / 8] &= uint8_t(~bit);
}
} // namespace render
