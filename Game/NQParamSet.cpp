#include "Game/NQParamSet.h"

#include <tinyxml2.h>

NQParamSet::NQParamSet(const tinyxml2::XMLElement* element)
{
    for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
    {
        const char* name = child->Attribute("name");
        mValues[name ? name : ""] = child->FloatAttribute("value", 0.0f);
    }
}

float NQParamSet::GetFloat(const std::string& name) const
{
    const auto it = mValues.find(name);
    return it == mValues.end() ? 0.0f : it->second;
}
