#pragma once

// Balance sheets (semicolon-separated text, first non-empty line the header of
// attribute names) turned into "unit" elements of an XML section, children
// nested one level under the row their "parent" names.
#include <cstdint>
#include <string>

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
}

// Reads the sheet at path (UTF-8) through the file system and builds from its
// text; a missing file adds nothing.
void ConvertSheetToXml(const std::string& path, tinyxml2::XMLElement* section, tinyxml2::XMLDocument* doc);

// The building step alone, on the sheet's text.
void BuildSheetXml(const std::string& text, tinyxml2::XMLElement* section, tinyxml2::XMLDocument* doc);

// The first direct child whose integer "id" equals id (no readable "id" counts
// as 0), or null.
tinyxml2::XMLElement* FindSheetRowById(int32_t id, const tinyxml2::XMLElement* parent);
