#pragma once

// A byte stream with unsigned 32-bit positions and sizes. Failures show only
// in the counts: a read or write that fails moves 0 bytes.
#include <cstdint>

namespace base
{
class Stream
{
public:
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual bool AtEnd() const;
    virtual uint32_t Size() const = 0;
    virtual ~Stream();
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    virtual uint32_t Write(const void* buffer, uint32_t count) = 0;
    // origin 0 from the start, 1 from the current position, 2 from the end;
    // returns the new position.
    virtual uint32_t Seek(int32_t offset, int origin) = 0;

    static constexpr uint32_t kAll = 0xFFFFFFFFu;

    // Appends count bytes of the source from its position, or with kAll the
    // whole source from its start. Stops early when the source runs dry or a
    // write falls short; returns the bytes written.
    uint32_t CopyFrom(Stream& source, uint32_t count);
};
} // namespace base
