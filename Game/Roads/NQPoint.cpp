#include "Game/Roads/NQPoint.h"

#include "Core/Base/DebugLog.h"
#include "Game/Data/LevelAttributes.h"
#include "Game/Data/NQParamSet.h"

NQPoint::NQPoint() : mParams(new NQParamSet) {}

NQPoint::NQPoint(const tinyxml2::XMLElement* element)
    : mId(ReadIntAttribute(element, "id", 0))
    , mX(ReadFloatAttribute(element, "x", 0.0f))
    , mY(ReadFloatAttribute(element, "y", 0.0f))
    , mParams(new NQParamSet(element))
{
    HV_LOG_DEBUG(L"new nq point (%g, %g)#%d!\n") % mX % mY % mId;
}

NQPoint::~NQPoint() { delete mParams; }
