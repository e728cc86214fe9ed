#include "Core/Base/FrameStream.h"

#include "Core/Base/MemoryStream.h"

#include <algorithm>

namespace base
{
FrameStream::FrameStream() = default;

FrameStream::FrameStream(Stream* inner, bool owns, uint32_t offset, uint32_t size)
    : mInner(inner), mOwns(owns), mOffset(offset), mSize(size)
{
}

FrameStream::~FrameStream()
{
    if (mOwns)
        delete mInner;
}

bool FrameStream::AtEnd() const { return mPosition == mSize; }

uint32_t FrameStream::Size() const { return mSize; }

uint32_t FrameStream::Read(void* buffer, uint32_t count)
{
    const uint32_t n = std::min(count, mSize - mPosition);
    if (n == 0 || mInner == nullptr)
        return 0;
    mInner->Seek(static_cast<int32_t>(mOffset + mPosition), 0);
    const uint32_t read = mInner->Read(buffer, n);
    mPosition += read;
    return read;
}

uint32_t FrameStream::Write(const void*, uint32_t) { return 0; }

uint32_t FrameStream::Seek(int32_t offset, int origin)
{
    mPosition = SeekWithin(mPosition, mSize, offset, origin);
    return mPosition;
}
} // namespace base
