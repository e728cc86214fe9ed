#include "Game/NQParamSet.h"

float NQParamSet::GetFloat(const std::string& name) const
{
    const auto it = mValues.find(name);
    return it == mValues.end() ? 0.0f : it->second;
}
