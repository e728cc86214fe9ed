#pragma once

// One bit per texel of a picture texture: bit k = x + y * width, least
// significant bit first within each byte.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace render
{
class HitMask
{
public:
    // New storage, all bits clear; 0 frees it. Old bits are not kept.
    void Resize(uint32_t bits);
    bool Get(uint32_t k) const;
    void Set(uint32_t k, bool value);
    uint32_t GetBitCount() const { return mBits; }

private:
    uint32_t mBits = 0;
    std::vector<uint8_t> mStorage;
};
} // namespace render
