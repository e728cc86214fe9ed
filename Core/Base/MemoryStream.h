#pragma once

// A growable stream in one heap block that is exactly as large as the stream.
#include "Core/Base/Stream.h"

#include <cstddef>

namespace base
{
class MemoryStream : public Stream
{
public:
    MemoryStream();
    // A copy of the bytes; the size must fit 32 bits.
    MemoryStream(const void* data, size_t size);
    ~MemoryStream() override;

    bool AtEnd() const override;
    uint32_t Size() const override;
    uint32_t Read(void* buffer, uint32_t count) override;
    uint32_t Write(const void* buffer, uint32_t count) override;
    // Clamped to 0 .. size; origin 2 counts from the end.
    uint32_t Seek(int32_t offset, int origin) override;
    // Without keep the contents are undefined; a position past the new end
    // is pulled back to it.
    virtual void Resize(uint32_t newSize, bool keep);

    const unsigned char* GetData() const { return mData; }
    unsigned char* GetData() { return mData; }
    uint32_t GetPosition() const { return mPosition; }

protected:
    unsigned char* mData = nullptr;
    uint32_t mPosition = 0;
    uint32_t mSize = 0;
};

// Clamps start + offset (origin 0 start, 1 position, 2 end, other: stay)
// to 0 .. size; shared by the in-memory and window streams.
uint32_t SeekWithin(uint32_t position, uint32_t size, int32_t offset, int origin);
} // namespace base
