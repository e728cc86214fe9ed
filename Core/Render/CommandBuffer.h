#pragma once

#include "Core/Base/MemoryStream.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace render
{
// The recorded frame: opcodes and operands in machine order, replayed and
// rewound every frame. The block only grows.
class CommandBuffer : public base::MemoryStream
{
public:
    uint32_t Size() const override { return mSize; }
    bool AtEnd() const override { return mPosition == mSize; }
    // Geometric growth so that a frame's writes cost amortised O(1).
    void Resize(uint32_t newSize, bool keep) override;

    // True when every byte went in.
    template <class T>
    bool Put(const T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return Write(&value, sizeof value) == sizeof value;
    }
    bool PutPointer(const void* pointer) { return Put(reinterpret_cast<uintptr_t>(pointer)); }

    // Operands may sit unaligned after a byte operand: copy, never cast.
    template <class T>
    bool Get(T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)];
        if (Read(bytes, sizeof bytes) != sizeof bytes)
            return false;
        std::memcpy(&value, bytes, sizeof value);
        return true;
    }
    template <class T>
    bool GetPointer(T*& pointer)
    {
        uintptr_t address = 0;
        if (!Get(address))
            return false;
        pointer = reinterpret_cast<T*>(address);
        return true;
    }
};
} // namespace render
