// Balance sheets into "unit" elements: header, cells, decimal commas, line
// ends and the one-level nesting by "parent".
#include "Game/Data/ConvertSheetToXml.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tinyxml2.h>

namespace
{
// The section's rows as "{name=value,...}" in attribute order, children in
// "(...)" right after their row.
std::string Describe(const tinyxml2::XMLElement* parent)
{
    std::string text;
    for (const tinyxml2::XMLElement* row = parent->FirstChildElement(); row != nullptr;
         row = row->NextSiblingElement())
    {
        text += std::string(row->Name()) == "unit" ? "{" : "<wrong tag>{";
        for (const tinyxml2::XMLAttribute* a = row->FirstAttribute(); a != nullptr; a = a->Next())
        {
            text += a->Name();
            text += "=";
            text += a->Value();
            if (a->Next() != nullptr)
                text += ",";
        }
        text += "}";
        if (row->FirstChildElement() != nullptr)
            text += "(" + Describe(row) + ")";
    }
    return text;
}

std::string Convert(const std::string& sheet)
{
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* section = doc.NewElement("towers");
    doc.InsertEndChild(section);
    BuildSheetXml(sheet, section, &doc);
    return Describe(section);
}

struct SheetCase
{
    const char* label;
    const char* sheet;
    const char* tree;
};

void PrintTo(const SheetCase& c, std::ostream* os)
{
    *os << c.label;
}

class SheetCases : public testing::TestWithParam<SheetCase>
{
};

TEST_P(SheetCases, BuildsTree)
{
    EXPECT_EQ(Convert(GetParam().sheet), GetParam().tree);
}

const SheetCase kCases[] = {
    {"decimal_comma", "id;strength\n7;3,5\n", "{id=7,strength=3.5}"},
    {"crlf_and_blank_crlf_lines", "id;parent\r\n\r\n1;-1\r\n  \r\n2;1\r\n", "{id=1,parent=-1}({id=2,parent=1})"},
    {"blank_lines_before_header", "\n \t\n\nid;r\n1;2\n", "{id=1,r=2}"},
    {"header_cells_trimmed", " id ;\tr\t; special\n1;2;big gun\n", "{id=1,r=2,special=big gun}"},
    {"cells_trimmed_inner_blanks_kept", "id;psd\n 1 ;  towers/a b \n", "{id=1,psd=towers/a b}"},
    {"repeated_header_later_column_wins", "id;r;r\n1;2;3\n", "{id=1,r=3}"},
    {"empty_cell_kept_as_empty_value", "id;r;cost\n1;;5\n", "{id=1,r=,cost=5}"},
    {"parent_is_later_row", "id;parent\n2;1\n1;-1\n", "{id=2,parent=1}{id=1,parent=-1}"},
    {"parent_is_nested_row", "id;parent\n1;-1\n2;1\n3;2\n", "{id=1,parent=-1}({id=2,parent=1}){id=3,parent=2}"},
    {"parent_minus_one", "id;parent\n1;-1\n", "{id=1,parent=-1}"},
    {"parent_empty", "id;parent\n0;-1\n1;\n", "{id=0,parent=-1}{id=1,parent=}"},
    {"parent_not_a_number", "id;parent\n0;-1\n1;x\n", "{id=0,parent=-1}{id=1,parent=x}"},
    {"parent_absent_column", "id\n0\n1\n", "{id=0}{id=1}"},
    {"row_without_id_counts_as_zero", "id;parent\n;-1\n5;0\n", "{id=,parent=-1}({id=5,parent=0})"},
    {"more_cells_than_header", "id;r\n1;2;3;4;5\n", "{id=1,r=2}"},
    {"fewer_cells_than_header", "id;r;cost\n1\n", "{id=1}"},
    {"header_only", "id;r\n", ""},
    {"empty_text", "", ""},
    {"blanks_only", " \t\r\n\r\n", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, SheetCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SheetCase>& info) { return std::string(info.param.label); });

TEST(SheetConversion, ReadsFileWithByteOrderMarkThroughFileSystem)
{
    hvtest::TempFolder folder;
    folder.Write("nq/towers_sheet.csv", "\xEF\xBB\xBFid;parent\r\n10000;-1\r\n10001;10000\r\n");
    hvtest::CurrentDirectory inside(folder.Folder());
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* section = doc.NewElement("towers");
    doc.InsertEndChild(section);
    ConvertSheetToXml("nq/towers_sheet.csv", section, &doc);
    EXPECT_EQ(Describe(section), "{id=10000,parent=-1}({id=10001,parent=10000})");
}

TEST(SheetConversion, MissingFileAddsNothing)
{
    hvtest::TempFolder folder;
    hvtest::CurrentDirectory inside(folder.Folder());
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* section = doc.NewElement("ammo");
    doc.InsertEndChild(section);
    ConvertSheetToXml("nq/ammo_sheet.csv", section, &doc);
    EXPECT_EQ(section->FirstChildElement(), nullptr);
}

TEST(SheetConversion, FindSheetRowByIdTakesFirstDirectChild)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(R"(<s><unit id="3"><unit id="4"/></unit><unit/><unit id="3" x="second"/></s>)"),
              tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* section = doc.RootElement();
    EXPECT_EQ(FindSheetRowById(3, section), section->FirstChildElement());
    EXPECT_EQ(FindSheetRowById(4, section), nullptr); // not a direct child
    EXPECT_EQ(FindSheetRowById(0, section), section->FirstChildElement()->NextSiblingElement());
}
} // namespace
