#pragma once

// Typed reads of attributes from the game's data files. An attribute that is
// absent or does not parse leaves the value as it was (the caller's default);
// a float that parses to nan or infinity counts as not parsing, so it never
// reaches an integer conversion or a comparison.
#include <cstdint>

namespace tinyxml2
{
class XMLElement;
}

// The leading integer ("12.5" reads 12).
void ReadIntAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t& value);
// The leading decimal number ("2.50abc" reads 2.5).
void ReadFloatAttribute(const tinyxml2::XMLElement* element, const char* name, float& value);
// An integer (not 0 is true), or "true" / "false".
void ReadBoolAttribute(const tinyxml2::XMLElement* element, const char* name, bool& value);
