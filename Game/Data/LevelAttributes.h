#pragma once

// Attributes of the level file's elements. A missing attribute, one that does
// not parse, and a float that is not finite (the "%f" scan reads "nan" and
// "inf") all take the fallback, so such values never reach the routes.
#include <cstdint>

namespace tinyxml2
{
class XMLElement;
}

int32_t ReadIntAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t fallback);
float ReadFloatAttribute(const tinyxml2::XMLElement* element, const char* name, float fallback);
