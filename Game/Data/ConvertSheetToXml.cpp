#include "Game/Data/ConvertSheetToXml.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"

#include <algorithm>
#include <vector>

#include <tinyxml2.h>

namespace
{
const int kUtf8 = 1;
const int32_t kTopLevel = -1;

// The line without one final '\r', trimmed: CR LF sheets read as LF ones.
std::string CleanLine(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    base::TrimBlanks(line);
    return line;
}

// The non-empty lines of the sheet, cleaned.
std::vector<std::string> SplitLines(std::string text)
{
    base::TrimBlanks(text);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = CleanLine(text.substr(start, end - start));
        if (!line.empty())
            lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Cells split at ';', each trimmed, empty ones kept.
std::vector<std::string> SplitCells(const std::string& line)
{
    std::vector<std::string> cells;
    base::StringTokenizer tokenizer(line, ';', false);
    std::string cell;
    while (tokenizer.Next(cell))
        cells.push_back(cell);
    return cells;
}
} // namespace

void ConvertSheetToXml(const std::string& path, tinyxml2::XMLElement* section, tinyxml2::XMLDocument* doc)
{
    BuildSheetXml(base::ReadTextFile(base::ToWide(path, kUtf8)), section, doc);
}

void BuildSheetXml(const std::string& text, tinyxml2::XMLElement* section, tinyxml2::XMLDocument* doc)
{
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty())
        return;
    const std::vector<std::string> header = SplitCells(lines[0]);
    for (size_t i = 1; i < lines.size(); ++i)
    {
        // Decimal commas read as points; no value may hold a comma.
        std::string line = lines[i];
        std::replace(line.begin(), line.end(), ',', '.');
        const std::vector<std::string> cells = SplitCells(line);
        tinyxml2::XMLElement* row = doc->NewElement("unit");
        // Cells beyond the header have no name to go under.
        const size_t count = std::min(cells.size(), header.size());
        for (size_t c = 0; c < count; ++c)
            row->SetAttribute(header[c].c_str(), cells[c].c_str());

        int parent = kTopLevel;
        if (row->QueryIntAttribute("parent", &parent) != tinyxml2::XML_SUCCESS)
            parent = kTopLevel;
        tinyxml2::XMLElement* owner = parent == kTopLevel ? nullptr : FindSheetRowById(parent, section);
        if (owner != nullptr)
            owner->InsertEndChild(row);
        else
            section->InsertEndChild(row);
    }
}

tinyxml2::XMLElement* FindSheetRowById(int32_t id, const tinyxml2::XMLElement* parent)
{
    for (const tinyxml2::XMLElement* child = parent->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement())
    {
        int childId = 0;
        if (child->QueryIntAttribute("id", &childId) != tinyxml2::XML_SUCCESS)
            childId = 0;
        // The rows belong to the caller's document, which it may change.
        if (childId == id)
            return const_cast<tinyxml2::XMLElement*>(child);
    }
    return nullptr;
}
