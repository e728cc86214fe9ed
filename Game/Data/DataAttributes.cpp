#include "Game/Data/DataAttributes.h"

#include <cmath>

#include <tinyxml2.h>

void ReadIntAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t& value)
{
    int read = 0;
    if (element->QueryIntAttribute(name, &read) == tinyxml2::XML_SUCCESS)
        value = static_cast<int32_t>(read);
}

void ReadFloatAttribute(const tinyxml2::XMLElement* element, const char* name, float& value)
{
    float read = 0.0f;
    if (element->QueryFloatAttribute(name, &read) == tinyxml2::XML_SUCCESS && std::isfinite(read))
        value = read;
}

void ReadBoolAttribute(const tinyxml2::XMLElement* element, const char* name, bool& value)
{
    bool read = false;
    if (element->QueryBoolAttribute(name, &read) == tinyxml2::XML_SUCCESS)
        value = read;
}
