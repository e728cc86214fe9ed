#include "Game/Data/NQUnitDatabase.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/LookupMiss.h"
#include "Game/Data/NQUnitProto.h"

#include <tinyxml2.h>

#include <string>

namespace
{
// The search order of every lookup, not the document's.
const char* const kSections[] = {"units", "towers", "ammo"};

// Shared by every database, so a stamp never names two prototype sets.
uint64_t NextStamp()
{
    static uint64_t last = 0;
    return ++last;
}
} // namespace

NQUnitDatabase::NQUnitDatabase(const tinyxml2::XMLElement* data)
{
    Load(data);
}

NQUnitDatabase::~NQUnitDatabase()
{
    base::DeleteAll(mProtos);
}

void NQUnitDatabase::Load(const tinyxml2::XMLElement* data)
{
    if (data != nullptr)
    {
        for (const char* name : kSections)
        {
            const tinyxml2::XMLElement* section = data->FirstChildElement(name);
            if (section == nullptr)
                continue;
            for (const tinyxml2::XMLElement* row = section->FirstChildElement(); row != nullptr;
                 row = row->NextSiblingElement())
                mProtos.push_back(new NQUnitProto(row, true));
        }
    }
    Reindex();
}

void NQUnitDatabase::Clear()
{
    base::DeleteAll(mProtos);
    Reindex();
}

void NQUnitDatabase::Reindex() const
{
    mIndex.clear();
    // emplace keeps the first of equal ids: the answer of the walk in order.
    for (NQUnitProto* proto : mProtos)
    {
        mIndex.emplace(proto->id, proto);
        for (NQUnitProto* child : proto->children)
            mIndex.emplace(child->id, child);
    }
    mIndexedCount = mProtos.size();
    mStamp = NextStamp();
}

uint64_t NQUnitDatabase::GetStamp() const
{
    if (mProtos.size() != mIndexedCount)
        Reindex();
    return mStamp;
}

NQUnitProto* NQUnitDatabase::FindProto(int32_t id) const
{
    if (mProtos.size() != mIndexedCount)
        Reindex();
    if (const auto found = mIndex.find(id); found != mIndex.end())
        return found->second;
    base::ReportLookupMiss(base::LookupMissKind::Proto, std::to_wstring(id));
    return nullptr;
}
