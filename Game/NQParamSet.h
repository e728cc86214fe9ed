#pragma once

#include <map>
#include <string>

// Named float parameters of a road point.
class NQParamSet
{
public:
    // 0 when the name is missing.
    float GetFloat(const std::string& name) const;

    std::map<std::string, float> mValues;
};
