#pragma once

// The answer of a prototype lookup, kept while the database and the key stay
// the same: enemies and towers read their prototype many times a frame, and
// a sheet reload or another database makes the next read look it up again.
#include "Game/Data/NQUnitDatabase.h"

#include <cstdint>

class NQUnitProto;

class ProtoCache
{
public:
    // The answer kept for the key, or find()'s answer, kept, when the
    // database changed or the key differs.
    template <typename Find>
    NQUnitProto* Get(const NQUnitDatabase& database, uint64_t key, uint64_t subkey, Find find) const
    {
        const uint64_t stamp = database.GetStamp();
        if (stamp != mStamp || key != mKey || subkey != mSubkey)
        {
            mProto = find();
            mStamp = stamp;
            mKey = key;
            mSubkey = subkey;
        }
        return mProto;
    }

private:
    // 0 until the first lookup: stamps start at 1.
    mutable uint64_t mStamp = 0;
    mutable uint64_t mKey = 0;
    mutable uint64_t mSubkey = 0;
    mutable NQUnitProto* mProto = nullptr;
};
