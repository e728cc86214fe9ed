#pragma once

// A read-only window onto part of another stream (a file inside a pack).
#include "Core/Base/Stream.h"

namespace base
{
class FrameStream : public Stream
{
public:
    FrameStream();
    FrameStream(Stream* inner, bool owns, uint32_t offset, uint32_t size);
    ~FrameStream() override;

    bool AtEnd() const override;
    uint32_t Size() const override;
    // Seeks the inner stream before every read: others may move it between.
    uint32_t Read(void* buffer, uint32_t count) override;
    uint32_t Write(const void* buffer, uint32_t count) override;
    uint32_t Seek(int32_t offset, int origin) override;

private:
    Stream* mInner = nullptr;
    bool mOwns = false;
    uint32_t mOffset = 0;
    uint32_t mPosition = 0;
    uint32_t mSize = 0;
};
} // namespace base
