#pragma once

#include <algorithm>
#include <vector>

namespace base
{
// Deletes a list's owned pointers front to back and leaves it empty. Each
// element leaves the list before it is deleted, so a destructor that reads
// the list never meets an element already deleted.
template <class T>
void DeleteAll(std::vector<T*>& items)
{
    while (!items.empty())
    {
        T* item = items.front();
        items.erase(items.begin());
        delete item;
    }
}

// Takes the first element equal to item out of the list, keeping the order of
// the others, and deletes it; nothing when the list does not hold it.
template <class T>
void EraseAndDelete(std::vector<T*>& items, T* item)
{
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end())
        return;
    items.erase(found);
    delete item;
}
} // namespace base
