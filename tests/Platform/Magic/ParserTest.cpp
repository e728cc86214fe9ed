#include "MagicFixture.h"

#include "Platform/Magic/Parser.h"

namespace {

struct Refusal {
    const char* what;
    const char* text;
    int line;             // expected line of the message
    const char* message;  // expected part of the message
};

// Line 1 is the root; the body starts on line 2.
std::string Doc(const std::string& body) {
    return "<particles version=\"1\">\n<atlas file=\"a.png\"/>\n" + body + "\n</particles>\n";
}

class ParserRefusal : public MagicTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ParserRefusal, RefusesWithLineAndReason) {
    const Refusal& r = GetParam();
    magic::ParseResult p = magic::ParseLibrary(r.text);
    EXPECT_EQ(p.library, nullptr);
    EXPECT_EQ(p.line, r.line) << p.Message();
    EXPECT_NE(p.Message().find(r.message), std::string::npos) << p.Message();
    EXPECT_EQ(Open(r.text), 0);
}

const std::string kType = "<type/>";
const std::string kCases[] = {
    "<particles version=\"1\">\n<emitter name=\"a\">\n<type>\n</particles>",
    "<effects version=\"1\"/>",
    "<particles version=\"2\"/>",
    "<particles/>",
    Doc("<emitter name=\"a\">\n<type colr=\"FFFFFFFF\"/></emitter>"),
    Doc("<emitter name=\"a\"><type color0=\"FF00\"/></emitter>"),
    Doc("<emitter name=\"a\"><type color0=\"GG000000\"/></emitter>"),
    Doc("<emitter name=\"a\" interval1=\"500\" interval2=\"500\">" + kType + "</emitter>"),
    Doc("<emitter name=\"a\" interval1=\"500\" interval2=\"100\">" + kType + "</emitter>"),
    Doc("<emitter name=\"a\">\n<type atlas=\"1\"/></emitter>"),
    Doc("<emitter name=\"a\">" + kType + "</emitter>\n<emitter name=\"a\">" + kType + "</emitter>"),
    Doc("<folder name=\"f\"/>\n<folder name=\"f\"/>"),
    "<particles version=\"1\">\n<atlas file=\"b\xC3\xA4.png\"/>\n</particles>",
    "",
    Doc("<emitter>" + kType + "</emitter>"),
    Doc("<folder name=\"\"/>"),
    Doc("<emitter name=\"a/b\">" + kType + "</emitter>"),
    Doc("<folder name=\"..\"/>"),
    Doc("<emitter name=\"a\"><type rate=\"1,5\"/></emitter>"),
    Doc("<emitter name=\"a\"><type life=\"nan\"/></emitter>"),
    Doc("<emitter name=\"a\"><type speed=\"inf\"/></emitter>"),
    Doc("<emitter name=\"a\"><type size_var=\"1\"/></emitter>"),
    Doc("<emitter name=\"a\"><type max=\"0\"/></emitter>"),
    Doc("<emitter name=\"a\"><type max=\"10001\"/></emitter>"),
    Doc("<emitter name=\"a\"><type spread=\"361\"/></emitter>"),
    Doc("<emitter name=\"a\"><type burst=\"2.5\"/></emitter>"),
    Doc("<emitter name=\"a\"><type life=\"0.5\"/></emitter>"),
    Doc("<emitter name=\"a\"><type u1=\"1.5\"/></emitter>"),
    Doc("<emitter name=\"a\"><type intense=\"2\"/></emitter>"),
    Doc("<emitter name=\"a\" seed=\"-1\">" + kType + "</emitter>"),
    Doc("<emitter name=\"a\" shape=\"star\">" + kType + "</emitter>"),
    Doc("<emitter name=\"a\" shape_w=\"-1\">" + kType + "</emitter>"),
    Doc("<emitter name=\"a\" interval1=\"-1\">" + kType + "</emitter>"),
    Doc("<emitter name=\"a\"><type rate=\"5\" rate=\"6\"/></emitter>"),
    Doc("<emitter name=\"a\"></emitter>"),
    Doc("<emitter name=\"a\"><particle/></emitter>"),
    Doc("<emitter name=\"a\"><type><type/></type></emitter>"),
    Doc("<folder name=\"f\"><atlas file=\"c.png\"/></folder>"),
    Doc("<emitter name=\"a\">fire" + kType + "</emitter>"),
    Doc("<atlas/>"),
    Doc("<atlas file=\"\"/>"),
    "<particles version=\"1\"/>\n<particles version=\"1\"/>",
    Doc("<sprite name=\"a\"/>"),
};

const Refusal kRefusals[] = {
    {"NotXml", kCases[0].c_str(), 3, "not well-formed XML"},
    {"WrongRoot", kCases[1].c_str(), 1, "root element is <effects>"},
    {"Version2", kCases[2].c_str(), 1, "unsupported version '2'"},
    {"NoVersion", kCases[3].c_str(), 1, "has no version"},
    {"UnknownAttribute", kCases[4].c_str(), 4, "unknown attribute 'colr' in <type>"},
    {"ShortColour", kCases[5].c_str(), 3, "'FF00' is not a colour"},
    {"NonHexColour", kCases[6].c_str(), 3, "'GG000000' is not a colour"},
    {"EqualIntervals", kCases[7].c_str(), 3, "interval2 must be at least interval1 + 1"},
    {"BackwardIntervals", kCases[8].c_str(), 3, "interval2 must be at least interval1 + 1"},
    {"AtlasOutOfRange", kCases[9].c_str(), 4, "atlas 1 is not declared"},
    {"DuplicateEmitters", kCases[10].c_str(), 4, "two emitters named 'a'"},
    {"DuplicateFolders", kCases[11].c_str(), 4, "two folders named 'f'"},
    {"NonAsciiAtlas", kCases[12].c_str(), 2, "is not printable ASCII"},
    {"EmptyText", kCases[13].c_str(), 0, "not well-formed XML"},
    {"MissingName", kCases[14].c_str(), 3, "<emitter> has no name"},
    {"EmptyName", kCases[15].c_str(), 3, "<folder> has an empty name"},
    {"SlashInName", kCases[16].c_str(), 3, "contains '/'"},
    {"ParentFolderName", kCases[17].c_str(), 3, "reserved for the parent folder"},
    {"LocaleComma", kCases[18].c_str(), 3, "'1,5' is not a number"},
    {"NaN", kCases[19].c_str(), 3, "'nan' is not a number"},
    {"Infinity", kCases[20].c_str(), 3, "'inf' is not a number"},
    {"SizeVarOne", kCases[21].c_str(), 3, "out of range (0 to below 1)"},
    {"MaxZero", kCases[22].c_str(), 3, "out of range (1 to 10000)"},
    {"MaxTooLarge", kCases[23].c_str(), 3, "out of range (1 to 10000)"},
    {"SpreadTooWide", kCases[24].c_str(), 3, "out of range (0 to 360)"},
    {"FractionalBurst", kCases[25].c_str(), 3, "'2.5' is not a whole number"},
    {"LifeBelowOneMs", kCases[26].c_str(), 3, "out of range (1 to 3600000)"},
    {"UvOutsideAtlas", kCases[27].c_str(), 3, "out of range (0 to 1)"},
    {"FlagTwo", kCases[28].c_str(), 3, "'2' is not 0 or 1"},
    {"NegativeSeed", kCases[29].c_str(), 3, "not an unsigned 32-bit number"},
    {"UnknownShape", kCases[30].c_str(), 3, "'star' is not point, rect, circle or line"},
    {"NegativeShapeSize", kCases[31].c_str(), 3, "out of range"},
    {"NegativeInterval", kCases[32].c_str(), 3, "out of range"},
    {"AttributeTwice", kCases[33].c_str(), 3, "not well-formed XML"},
    {"NoType", kCases[34].c_str(), 3, "emitter 'a' has no <type>"},
    {"UnknownChild", kCases[35].c_str(), 3, "unknown element <particle> in <emitter>"},
    {"NestedType", kCases[36].c_str(), 3, "unknown element <type> in <type>"},
    {"AtlasInFolder", kCases[37].c_str(), 3, "unknown element <atlas> in <folder>"},
    {"TextContent", kCases[38].c_str(), 3, "unexpected text in <emitter>"},
    {"AtlasWithoutFile", kCases[39].c_str(), 3, "<atlas> has no file"},
    {"AtlasEmptyFile", kCases[40].c_str(), 3, "<atlas> has no file"},
    {"TwoRoots", kCases[41].c_str(), 2, "more than one root element"},
    {"UnknownElement", kCases[42].c_str(), 3, "unknown element <sprite> in <particles>"},
};

INSTANTIATE_TEST_SUITE_P(Table, ParserRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(MagicTest, NullTextIsRefused) {
    EXPECT_EQ(Magic_OpenFileInMemory(nullptr), 0);
    EXPECT_EQ(magic::ParseLibrary(nullptr).library, nullptr);
}

TEST_F(MagicTest, AcceptsByteOrderMarkDeclarationAndComments) {
    std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- fx -->\n"
                       "<particles version=\"1\"><!-- none --><atlas file=\"a.png\"/><emitter name=\"a\"><type/></emitter></particles>\n";
    EXPECT_GT(Open(text), 0);
}

TEST_F(MagicTest, SameNameAllowedForFolderAndEmitterAndAcrossFolders) {
    magic::ParseResult p = magic::ParseLibrary(
        "<particles version=\"1\"><atlas file=\"a.png\"/><folder name=\"a\"><emitter name=\"a\"><type/></emitter></folder>"
        "<emitter name=\"a\"><type/></emitter></particles>");
    ASSERT_NE(p.library, nullptr) << p.Message();
    EXPECT_EQ(p.library->emitters.size(), 2u);
}

TEST_F(MagicTest, MissingAttributesTakeTheirDefaults) {
    magic::ParseResult p = magic::ParseLibrary(
        "<particles version=\"1\"><atlas file=\"a.png\"/><emitter name=\"a\"><type/></emitter></particles>");
    ASSERT_NE(p.library, nullptr);
    const magic::EmitterDef& d = p.library->emitters.at(0);
    EXPECT_EQ(d.interval1, 0);
    EXPECT_EQ(d.interval2, 1000);
    EXPECT_EQ(d.seed, 1u);
    EXPECT_EQ(d.shape, magic::Shape::Point);
    const magic::ParticleType& t = d.types.at(0);
    EXPECT_EQ(t.atlas, 0);
    EXPECT_EQ(t.u1, 1.0f);
    EXPECT_EQ(t.v1, 1.0f);
    EXPECT_FALSE(t.intense);
    EXPECT_EQ(t.rate, 10);
    EXPECT_EQ(t.life, 1000);
    EXPECT_EQ(t.speed, 100);
    EXPECT_EQ(t.spread, 360);
    EXPECT_EQ(t.size0, 16);
    EXPECT_EQ(t.size1, 16);
    EXPECT_EQ(t.color0, 0xFFFFFFFFu);
    EXPECT_EQ(t.color1, 0x00FFFFFFu);
    EXPECT_EQ(t.max, 500);
}

TEST_F(MagicTest, ReadsEveryValueKind) {
    magic::ParseResult p = magic::ParseLibrary(
        "<particles version=\"1\"><atlas file=\"x.png\"/><atlas file=\"dir/y.png\"/>"
        "<emitter name=\"a\" interval1=\"12.5\" interval2=\"1e3\" seed=\"4294967295\" shape=\"circle\" shape_w=\"3\">"
        "<type atlas=\"1\" u0=\"0.25\" intense=\"1\" size_var=\"0.5\" color0=\"80a0B0c0\" gravity_y=\"-9.5\"/>"
        "</emitter></particles>");
    ASSERT_NE(p.library, nullptr) << p.Message();
    const magic::EmitterDef& d = p.library->emitters.at(0);
    EXPECT_EQ(d.interval1, 12.5);
    EXPECT_EQ(d.interval2, 1000);
    EXPECT_EQ(d.seed, 4294967295u);
    EXPECT_EQ(d.shape, magic::Shape::Circle);
    EXPECT_EQ(d.types[0].atlas, 1);
    EXPECT_EQ(d.types[0].u0, 0.25f);
    EXPECT_TRUE(d.types[0].intense);
    EXPECT_EQ(d.types[0].sizeVar, 0.5);
    EXPECT_EQ(d.types[0].color0, 0x80A0B0C0u);
    EXPECT_EQ(d.types[0].gravityY, -9.5);
    EXPECT_EQ(p.library->atlases, (std::vector<std::string>{"x.png", "dir/y.png"}));
}

TEST_F(MagicTest, SampleLibraryParses) {
    std::string text = ReadSample();
    ASSERT_FALSE(text.empty());
    magic::ParseResult p = magic::ParseLibrary(text.c_str());
    ASSERT_NE(p.library, nullptr) << p.Message();
    EXPECT_EQ(p.library->atlases.size(), 2u);
}

}  // namespace
