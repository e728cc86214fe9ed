#pragma once
// A tiny generator of our own: the same seed gives the same particles with
// every compiler and standard library.

#include <cstdint>

namespace magic {

class Random {
public:
    // Mixes the effect's seed with the instance's ordinal, so two instances
    // of one effect differ, and with a stream number (the particle type).
    void Seed(uint32_t seed, uint32_t ordinal, uint32_t stream) {
        uint32_t s = seed * 0x9E3779B9u ^ (ordinal + 0x7F4A7C15u) * 0x85EBCA6Bu ^ (stream + 1u) * 0xC2B2AE35u;
        s ^= s >> 16;
        s *= 0x7FEB352Du;
        s ^= s >> 15;
        state_ = s ? s : 0x6D2B79F5u;  // xorshift never leaves 0
    }

    uint32_t Next() {
        uint32_t x = state_;
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return state_ = x;
    }

    // In [0, 1), from the top 24 bits.
    double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
    // In [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }

private:
    uint32_t state_ = 1;
};

}  // namespace magic
