#include "Game/Data/LevelAttributes.h"

#include <tinyxml2.h>

#include <cmath>

int32_t ReadIntAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t fallback)
{
    int value = 0;
    if (element->QueryIntAttribute(name, &value) != tinyxml2::XML_SUCCESS)
        return fallback;
    return value;
}

float ReadFloatAttribute(const tinyxml2::XMLElement* element, const char* name, float fallback)
{
    float value = 0.0f;
    if (element->QueryFloatAttribute(name, &value) != tinyxml2::XML_SUCCESS || !std::isfinite(value))
        return fallback;
    return value;
}
