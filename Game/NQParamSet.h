#pragma once

#include <map>
#include <string>

namespace tinyxml2
{
class XMLElement;
}

// Named float parameters of a road point.
class NQParamSet
{
public:
    NQParamSet() = default;
    // Every child element's "name" and "value".
    explicit NQParamSet(const tinyxml2::XMLElement* element);

    // 0 when the name is missing.
    float GetFloat(const std::string& name) const;

    std::map<std::string, float> mValues;
};
