#pragma once

#include <cstddef>
#include <vector>

namespace base
{
// Deletes a list's owned pointers front to back and leaves it empty.
template <class T>
void DeleteAll(std::vector<T*>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        delete items[i];
    items.clear();
}
} // namespace base
