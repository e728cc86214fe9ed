#include "Game/Units/NQSpot.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Data/LevelAttributes.h"
#include "Game/Data/NQParamSet.h"

NQSpot::NQSpot(const tinyxml2::XMLElement* element) : mParams(new NQParamSet(element))
{
    // Prices are written as numbers; out-of-range ones saturate.
    mGoldPrice = math::TruncateToInt32(mParams->GetFloat("cost_gold"));
    mGemPrice = math::TruncateToInt32(mParams->GetFloat("cost_real"));
    mType = math::TruncateToInt32(mParams->GetFloat("type"));
    mX = ReadFloatAttribute(element, "x", 0.0f);
    mY = ReadFloatAttribute(element, "y", 0.0f);
    mOwned = mGoldPrice == 0 && mGemPrice == 0;
}

NQSpot::~NQSpot()
{
    delete mParams;
    mBadges.clear();
}
