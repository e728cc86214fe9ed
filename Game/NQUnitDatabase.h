#pragma once

// The unit prototypes of the three balance sheets, found by id.
#include <cstdint>
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

    // Each top-level prototype in order, then its children: the first match,
    // or null. A child shadows a later top-level prototype of the same id.
    NQUnitProto* FindProto(int32_t id) const;

    // Owned; emptied with base::DeleteAll before a reload, so no pointer into
    // the database outlives a level start.
    std::vector<NQUnitProto*> mProtos;
};
