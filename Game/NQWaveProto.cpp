#include "Game/NQWaveProto.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Game/LevelAttributes.h"
#include "Game/NQWaveEntry.h"

#include <tinyxml2.h>

NQWaveProto::~NQWaveProto() { base::DeleteAll(mEntries); }

void NQWaveProto::Update(float) {}

bool NQWaveProto::IsFinished() { return false; }

void NQWaveProto::OnEnemyEvent(int32_t, float, int32_t) {}

void NQWaveProto::loadFromXML(const tinyxml2::XMLElement* wave)
{
    mTimeout = ReadIntAttribute(wave, "timeout", 0);
    mSpawn = ReadIntAttribute(wave, "spawn", 0);
    mWipeAward = ReadIntAttribute(wave, "wipeAward", 0);
    mScale = ReadFloatAttribute(wave, "scale", 0.0f);
    if (mScale == 0.0f)
        mScale = 1.0f;
    // Absent: a group of its own; present but not an integer: 0.
    int linked = 0;
    const tinyxml2::XMLError found = wave->QueryIntAttribute("linked", &linked);
    mLinked = found == tinyxml2::XML_NO_ATTRIBUTE ? -1 : found == tinyxml2::XML_SUCCESS ? linked : 0;
    HV_LOG(L"LOADED ENEMY WAVE=(timeout=%d, spawner=%d)") % mTimeout % mSpawn;

    for (const tinyxml2::XMLElement* child = wave->FirstChildElement(); child; child = child->NextSiblingElement())
    {
        NQWaveEntry* entry = new NQWaveEntry(this);
        entry->mId = ReadIntAttribute(child, "id", 0);
        entry->mUpgrade = ReadIntAttribute(child, "upgrade", 0);
        entry->mX = ReadFloatAttribute(child, "x", 0.0f);
        entry->mY = ReadFloatAttribute(child, "y", 0.0f);
        mEntries.push_back(entry);
    }
}
