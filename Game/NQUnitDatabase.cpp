#include "Game/NQUnitDatabase.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/LookupMiss.h"
#include "Game/NQUnitProto.h"

#include <tinyxml2.h>

namespace
{
// The search order of every lookup, not the document's.
const char* const kSections[] = {"units", "towers", "ammo"};
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
    if (data == nullptr)
        return;
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

NQUnitProto* NQUnitDatabase::FindProto(int32_t id) const
{
    for (NQUnitProto* proto : mProtos)
    {
        if (proto->id == id)
            return proto;
        for (NQUnitProto* child : proto->children)
            if (child->id == id)
                return child;
    }
    base::ReportLookupMiss(base::LookupMissKind::Proto, std::to_wstring(id));
    return nullptr;
}
