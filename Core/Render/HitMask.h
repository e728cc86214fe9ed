#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace render
{
// One bit per texel: bit k in byte k / 8, least significant first.
class HitMask
{
public:
    // New storage, all clear; the old bits are not kept. 0 frees it.
    void Resize(uint32_t bits);
    bool Get(uint32_t k) const;
    void Set(uint32_t k, bool value);
    uint32_t GetBitCount() const { return mBits; }
    const std::vector<uint8_t>& GetBytes() const { return mBytes; }

private:
    uint32_t mBits = 0;
    std::vector<uint8_t> mBytes;
};
} // namespace render
