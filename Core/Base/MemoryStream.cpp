#include "Core/Base/MemoryStream.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace base
{
uint32_t SeekWithin(uint32_t position, uint32_t size, int32_t offset, int origin)
{
    int64_t target = position;
    switch (origin)
    {
    case 0: target = offset; break;
    case 1: target = int64_t(position) + offset; break;
    case 2: target = int64_t(size) + offset; break;
    default: break;
    }
    return static_cast<uint32_t>(std::clamp<int64_t>(target, 0, size));
}

MemoryStream::MemoryStream() = default;

MemoryStream::MemoryStream(const void* data, size_t size)
{
    assert(size <= UINT32_MAX);
    if (size > 0)
    {
        mData = new unsigned char[size];
        std::memcpy(mData, data, size);
        mSize = static_cast<uint32_t>(size);
    }
}

MemoryStream::~MemoryStream() { delete[] mData; }

bool MemoryStream::AtEnd() const { return mPosition == mSize; }

uint32_t MemoryStream::Size() const { return mSize; }

uint32_t MemoryStream::Read(void* buffer, uint32_t count)
{
    const uint32_t n = std::min(count, mSize - mPosition);
    if (n > 0)
        std::memcpy(buffer, mData + mPosition, n);
    mPosition += n;
    return n;
}

uint32_t MemoryStream::Write(const void* buffer, uint32_t count)
{
    if (count == 0)
        return 0;
    // Positions are 32-bit: a write that would pass 4 GiB writes nothing.
    if (count > UINT32_MAX - mPosition)
        return 0;
    if (mSize - mPosition < count)
        Resize(mPosition + count, true);
    std::memcpy(mData + mPosition, buffer, count);
    mPosition += count;
    return count;
}

uint32_t MemoryStream::Seek(int32_t offset, int origin)
{
    mPosition = SeekWithin(mPosition, mSize, offset, origin);
    return mPosition;
}

void MemoryStream::Resize(uint32_t newSize, bool keep)
{
    unsigned char* block = newSize > 0 ? new unsigned char[newSize] : nullptr;
    if (keep && mData != nullptr)
        std::memcpy(block, mData, std::min(mSize, newSize));
    delete[] mData;
    mData = block;
    mSize = newSize;
    mPosition = std::min(mPosition, mSize);
}
} // namespace base
