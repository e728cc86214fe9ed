#pragma once

// A picture for the player: an image over a fake texture that counts its
// calls and keeps its pixels, with guard words after the rows to catch
// writes past the end.
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace hvtest
{
class FakeFrameTexture : public rendertest::FakeTexture
{
public:
    static constexpr uint32_t kGuard = 0xDEADBEEFu;
    static constexpr size_t kGuardWords = 16;

    FakeFrameTexture(uint32_t width, uint32_t height, bool lockable, uint32_t pitchPixels)
        : FakeTexture(Owner()), m_pitch(pitchPixels ? pitchPixels : width), m_lockable(lockable),
          m_pixels(size_t(m_pitch) * height + kGuardWords, kGuard)
    {
        mWidth = int32_t(width);
        mHeight = int32_t(height);
    }

    bool CanLock() const override { return m_lockable; }
    HVResultEnum Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address) override
    {
        ++locks;
        if (lockResult != HV_OK)
            return lockResult;
        *sizeInPixels = m_pitch * uint32_t(mHeight);
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
        for (uint32_t r = 0; r < uint32_t(mHeight); ++r)
            std::memcpy(&m_pixels[size_t(r) * m_pitch], in + size_t(r) * uint32_t(mWidth), size_t(mWidth) * 4);
        return uploadResult;
    }

    uint32_t At(uint32_t x, uint32_t y) const { return m_pixels[size_t(y) * m_pitch + x]; }
    bool GuardIntact() const
    {
        for (size_t i = size_t(m_pitch) * uint32_t(mHeight); i < m_pixels.size(); ++i)
            if (m_pixels[i] != kGuard)
                return false;
        return true;
    }

    int locks = 0, unlocks = 0, uploads = 0;
    HVResultEnum lockResult = HV_OK;
    HVResultEnum uploadResult = HV_OK;

private:
    // Textures register with a renderer; these need nothing else of it.
    static rendertest::RecordingRender* Owner()
    {
        static rendertest::RecordingRender render;
        return &render;
    }

    uint32_t m_pitch;
    bool m_lockable;
    std::vector<uint32_t> m_pixels;
};

class FakeTarget : public render::Image
{
public:
    FakeTarget(uint32_t width, uint32_t height, bool lockable, uint32_t pitchPixels = 0)
        : Image(new FakeFrameTexture(width, height, lockable, pitchPixels))
    {
    }

    FakeFrameTexture& Texture() const { return *m_texture; }
    uint32_t At(uint32_t x, uint32_t y) const { return m_texture->At(x, y); }
    bool GuardIntact() const { return m_texture->GuardIntact(); }

private:
    FakeFrameTexture* m_texture = static_cast<FakeFrameTexture*>(GetTexture());

public:
    int& locks = m_texture->locks;
    int& unlocks = m_texture->unlocks;
    int& uploads = m_texture->uploads;
    HVResultEnum& lockResult = m_texture->lockResult;
    HVResultEnum& uploadResult = m_texture->uploadResult;
};

inline int Red(uint32_t argb) { return int((argb >> 16) & 0xFF); }
inline int Green(uint32_t argb) { return int((argb >> 8) & 0xFF); }
inline int Blue(uint32_t argb) { return int(argb & 0xFF); }
} // namespace hvtest
