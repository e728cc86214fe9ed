#include "Game/Roads/NQLink.h"

#include "Core/Base/DebugLog.h"
#include "Game/Data/LevelAttributes.h"

NQLink::NQLink(const tinyxml2::XMLElement* element)
    : mSid(ReadIntAttribute(element, "sid", 0))
    , mEid(ReadIntAttribute(element, "eid", 0))
    , mAnchorX(ReadFloatAttribute(element, "anchor_x", 0.0f))
    , mAnchorY(ReadFloatAttribute(element, "anchor_y", 0.0f))
{
    HV_LOG_DEBUG(L"link loaded!\n");
}
