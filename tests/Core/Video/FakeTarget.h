#pragma once

// A picture for the player that counts its calls and keeps its pixels, with
// guard words after the rows to catch writes past the end.
#include "Core/Video/FrameTarget.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace hvtest
{
class FakeTarget : public video::FrameTarget
{
public:
    static constexpr uint32_t kGuard = 0xDEADBEEFu;
    static constexpr size_t kGuardWords = 16;

    FakeTarget(uint32_t width, uint32_t height, bool lockable, uint32_t pitchPixels = 0)
        : m_width(width), m_height(height), m_pitch(pitchPixels ? pitchPixels : width), m_lockable(lockable),
          m_pixels(size_t(m_pitch) * height + kGuardWords, kGuard)
    {
    }

    uint32_t GetWidth() const override { return m_width; }
    uint32_t GetHeight() const override { return m_height; }
    bool CanLock() const override { return m_lockable; }
    HVResultEnum Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address) override
    {
        ++locks;
        if (lockResult != HV_OK)
            return lockResult;
        *sizeInPixels = m_pitch * m_height;
        *pitch = m_pitch * 4;
        *address = m_pixels.data();
        return HV_OK;
    }
    HVResultEnum Unlock() override
    {
        ++unlocks;
        return HV_OK;
    }
    HVResultEnum Upload(const void* pixels) override
    {
        ++uploads;
        // Reads exactly width x height pixels: a shorter buffer shows under ASan.
        const uint32_t* in = static_cast<const uint32_t*>(pixels);
        for (uint32_t r = 0; r < m_height; ++r)
            std::memcpy(&m_pixels[size_t(r) * m_pitch], in + size_t(r) * m_width, size_t(m_width) * 4);
        return uploadResult;
    }

    uint32_t At(uint32_t x, uint32_t y) const { return m_pixels[size_t(y) * m_pitch + x]; }
    bool GuardIntact() const
    {
        for (size_t i = size_t(m_pitch) * m_height; i < m_pixels.size(); ++i)
            if (m_pixels[i] != kGuard)
                return false;
        return true;
    }

    int locks = 0, unlocks = 0, uploads = 0;
    HVResultEnum lockResult = HV_OK;
    HVResultEnum uploadResult = HV_OK;

private:
    uint32_t m_width, m_height, m_pitch;
    bool m_lockable;
    std::vector<uint32_t> m_pixels;
};

inline int Red(uint32_t argb) { return int((argb >> 16) & 0xFF); }
inline int Green(uint32_t argb) { return int((argb >> 8) & 0xFF); }
inline int Blue(uint32_t argb) { return int(argb & 0xFF); }
} // namespace hvtest
