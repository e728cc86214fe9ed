#pragma once

// What the player needs of the picture it writes frames into: the picture's
// size, and either a lock straight into its pixels or an upload of a whole
// width x height buffer. The renderer's dynamic pictures answer this.
#include "Core/Base/Result.h"

#include <cstdint>

namespace video
{
class FrameTarget
{
public:
    virtual ~FrameTarget() = default;
    virtual uint32_t GetWidth() const = 0;
    virtual uint32_t GetHeight() const = 0;
    virtual bool CanLock() const = 0;
    // The locked size in pixels is pitch x rows / 4.
    virtual HVResultEnum Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address) = 0;
    virtual HVResultEnum Unlock() = 0;
    // width x height packed ARGB pixels, rows width x 4 bytes apart.
    virtual HVResultEnum Upload(const void* pixels) = 0;
};
} // namespace video
