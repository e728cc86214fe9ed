#pragma once

// The first record of a list whose id equals the key, or null. Reads each
// record's mId by name, whatever fields come before it.
#include <cstdint>
#include <vector>

template <class T>
T* FindById(const std::vector<T*>& list, int32_t id)
{
    for (T* record : list)
        if (record->mId == id)
            return record;
    return nullptr;
}
