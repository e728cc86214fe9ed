#pragma once

// The unit prototypes of the three balance sheets, found by id.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class NQUnitProto;

class NQUnitDatabase
{
public:
    explicit NQUnitDatabase(const tinyxml2::XMLElement* data);
    NQUnitDatabase(const NQUnitDatabase&) = delete;
    NQUnitDatabase& operator=(const NQUnitDatabase&) = delete;
    ~NQUnitDatabase();

    // Appends the rows of "units", then "towers", then "ammo" of the data
    // element, each with its children; the list is not emptied first.
    void Load(const tinyxml2::XMLElement* data);
    // Deletes every prototype: every pointer into the database dies here.
    void Clear();

    // Each top-level prototype in order, then its children: the first match,
    // or null. A child shadows a later top-level prototype of the same id.
    NQUnitProto* FindProto(int32_t id) const;
    // Changes whenever the prototypes may have changed, and is never reused
    // by another database: a holder of a prototype found here keeps it while
    // the stamp stays.
    uint64_t GetStamp() const;

    // Owned; emptied with Clear before a reload, so no pointer into the
    // database outlives a level start. Appending outside Load is seen by the
    // next lookup.
    std::vector<NQUnitProto*> mProtos;

private:
    // The index in the search order, rebuilt when the list has changed.
    void Reindex() const;

    mutable std::unordered_map<int32_t, NQUnitProto*> mIndex;
    mutable size_t mIndexedCount = 0;
    mutable uint64_t mStamp = 0;
};
