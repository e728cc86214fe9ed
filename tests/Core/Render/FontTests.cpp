#include "Core/File/FileTestSupport.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/DrawTextParam.h"
#include "PictureFixtures.h"
#include "RecordingRender.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
struct FntOptions
{
    std::string charset = "charset=\"\"";
    std::string unicode = "1";
    std::string padding = "0,0,0,0";
    std::string channels = "packed=\"0\" alphaChnl=\"0\" redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"";
    std::string pages = "1";
    std::string pageId = "0";
    std::string kerningSecond = "86";
    bool common = true;
};

std::string Char(int id, int x, int advance)
{
    return "<char id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) +
           "\" y=\"0\" width=\"8\" height=\"16\" xoffset=\"1\" yoffset=\"2\" xadvance=\"" + std::to_string(advance) +
           "\" page=\"0\" chnl=\"15\"/>";
}

// 'a' and 'A'/'V' advance 10, the space 10, 'W' 150, 'r' (replacement) 10; kerning A->V -2.
std::string MakeFnt(const FntOptions& o = {})
{
    std::string s = "<?xml version=\"1.0\"?><font><info face=\"Test\" size=\"20\" bold=\"0\" italic=\"0\" " +
                    o.charset + " unicode=\"" + o.unicode + "\" stretchH=\"100\" smooth=\"1\" aa=\"1\" padding=\"" +
                    o.padding + "\" spacing=\"1,1\" outline=\"0\"/>";
    if (o.common)
        s += "<common lineHeight=\"22\" base=\"16\" scaleW=\"256\" scaleH=\"256\" pages=\"" + o.pages + "\" " +
             o.channels + "/>";
    s += "<pages><page id=\"" + o.pageId + "\" file=\"page0.png\"/></pages><chars count=\"6\">";
    s += Char(32, 0, 10) + Char('a', 10, 10) + Char('A', 20, 10) + Char('V', 30, 10) + Char('W', 40, 150) +
         Char('r', 50, 10);
    s += "</chars><kernings count=\"1\"><kerning first=\"65\" second=\"" + o.kerningSecond +
         "\" amount=\"-2\"/></kernings></font>";
    return s;
}

render::BMFont& LoadedFont()
{
    static render::BMFont font;
    static bool loaded = font.ParseDescription(MakeFnt().c_str()) == HV_OK;
    EXPECT_TRUE(loaded);
    return font;
}

struct Measured
{
    float width, height;
    std::vector<render::BMFont::TextLine> lines;
};

Measured Measure(const std::wstring& text, const render::TextLayout& layout)
{
    auto lines = std::make_unique<render::BMFont::Lines>();
    float size[2] = {-1, -1};
    LoadedFont().LayOut(text, layout, *lines, size);
    Measured m{size[0], size[1], {}};
    for (int i = 0; i < lines->Size(); ++i)
        m.lines.push_back((*lines)[i]);
    // The measure-only path of DrawText agrees with the layout.
    float drawn[2] = {-1, -1};
    EXPECT_EQ(LoadedFont().DrawText(nullptr, nullptr, &text, &layout, drawn), HV_OK);
    EXPECT_EQ(drawn[0], size[0]);
    EXPECT_EQ(drawn[1], size[1]);
    // So does a measuring record.
    float recorded[2] = {-1, -1};
    {
        auto record = LoadedFont().Text(text);
        record->GetLayout() = layout;
        record->SetWidthOut(&recorded[0]);
        record->SetHeightOut(&recorded[1]);
    }
    EXPECT_EQ(recorded[0], size[0]);
    EXPECT_EQ(recorded[1], size[1]);
    return m;
}

render::TextLayout Wrap(float width, float indent = 0)
{
    render::TextLayout l;
    l.wrapWidth = width;
    l.firstLineIndent = indent;
    return l;
}
} // namespace

TEST(BMFontLoad, DescriptionTable)
{
    auto with = [](auto change) {
        FntOptions o;
        change(o);
        return MakeFnt(o);
    };
    struct Case
    {
        const char* name;
        std::string xml;
        bool ok;
    } cases[] = {
        {"valid", MakeFnt(), true},
        {"chasrset only", with([](FntOptions& o) { o.charset = "chasrset=\"ANSI\""; }), true},
        {"no charset", with([](FntOptions& o) { o.charset = ""; }), false},
        {"unicode 0", with([](FntOptions& o) { o.unicode = "0"; }), false},
        {"alphaChnl 1", with([](FntOptions& o) {
             o.channels = "packed=\"0\" alphaChnl=\"1\" redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"";
         }),
         false},
        {"redChnl 0", with([](FntOptions& o) {
             o.channels = "packed=\"0\" alphaChnl=\"0\" redChnl=\"0\" greenChnl=\"4\" blueChnl=\"4\"";
         }),
         false},
        {"missing blueChnl", with([](FntOptions& o) {
             o.channels = "packed=\"0\" alphaChnl=\"0\" redChnl=\"4\" greenChnl=\"4\"";
         }),
         false},
        {"three-value padding", with([](FntOptions& o) { o.padding = "1,2,3"; }), false},
        {"page id at count", with([](FntOptions& o) { o.pageId = "1"; }), false},
        {"kerning on missing glyph", with([](FntOptions& o) { o.kerningSecond = "66"; }), false},
        {"no common", with([](FntOptions& o) { o.common = false; }), false},
        {"pages 1000", with([](FntOptions& o) { o.pages = "1000"; }), false},
        {"pages 256", with([](FntOptions& o) { o.pages = "256"; }), true},
        {"not xml", "<font><info", false},
    };
    for (auto& c : cases)
    {
        render::BMFont font;
        EXPECT_EQ(font.ParseDescription(c.xml.c_str()) == HV_OK, c.ok) << c.name;
    }
}

TEST(BMFontLoad, ReadsMetricsGlyphsAndKerning)
{
    render::BMFont& font = LoadedFont();
    EXPECT_EQ(font.GetLineHeight(), 20.0f); // from info "size"
    EXPECT_EQ(font.GetBase(), 16.0f);
    EXPECT_EQ(font.GetDescent(), 4.0f);
    EXPECT_EQ(font.GetPageCount(), 1u);
    EXPECT_EQ(font.GetPageFiles()[0], "page0.png");
    const auto& v = font.GetGlyphs().at('V');
    EXPECT_EQ(v.x, 30.0f);
    EXPECT_EQ(v.yOffset, 2.0f);
    EXPECT_EQ(v.channel, 15u);
    EXPECT_EQ(v.kernings.at('A'), -2.0f);
    EXPECT_TRUE(font.HasGlyph(uint16_t('a')));
    EXPECT_FALSE(font.HasGlyph(uint16_t('b')));
    EXPECT_TRUE(font.HasGlyph(L'a'));
    EXPECT_FALSE(font.HasGlyph(wchar_t(0x1F600)));
    EXPECT_FALSE(font.HasGlyph(wchar_t(0x10061))); // not 'a' by its low 16 bits
}

TEST(BMFontLayout, WrapsAtSpaces)
{
    const Measured m = Measure(L"aaaa aaaa aaaa", Wrap(100));
    ASSERT_EQ(m.lines.size(), 2u);
    EXPECT_EQ(m.lines[0].width, 90.0f);
    EXPECT_EQ(m.lines[0].count, 9);
    EXPECT_EQ(m.lines[0].spaces, 1);
    EXPECT_EQ(m.lines[0].justify, 1);
    EXPECT_EQ(m.lines[1].first, 10);
    EXPECT_EQ(m.lines[1].width, 40.0f);
    EXPECT_EQ(m.width, 90.0f);
    EXPECT_EQ(m.height, 40.0f);
}

TEST(BMFontLayout, BreaksOverlongWords)
{
    const Measured m = Measure(L"aaaaaaaaaaaaa", Wrap(100));
    ASSERT_EQ(m.lines.size(), 2u);
    EXPECT_EQ(m.lines[0].count, 10);
    EXPECT_EQ(m.lines[0].width, 100.0f);
    EXPECT_EQ(m.lines[1].first, 10);
    EXPECT_EQ(m.lines[1].width, 30.0f);

    // The overflowing glyph is the line's second character: the first stands alone.
    const Measured second = Measure(L"aW", Wrap(100));
    ASSERT_GE(second.lines.size(), 1u);
    EXPECT_EQ(second.lines[0].count, 1);
    EXPECT_EQ(second.lines[0].width, 160.0f);
    EXPECT_EQ(second.lines[0].justify, 0);
}

TEST(BMFontLayout, IndentOnlyOnParagraphFirstLines)
{
    const Measured m = Measure(L"aaaa aaaa aaaa\naa", Wrap(100, 5));
    ASSERT_EQ(m.lines.size(), 3u);
    EXPECT_EQ(m.lines[0].startOffset, 5.0f);
    EXPECT_EQ(m.lines[0].width, 95.0f);
    EXPECT_EQ(m.lines[1].startOffset, 0.0f);
    EXPECT_EQ(m.lines[2].startOffset, 5.0f);
    EXPECT_EQ(m.lines[2].width, 25.0f);
    // Wrapped lines may be justified; lines ended by a break and the paragraph's last may not.
    EXPECT_EQ(m.lines[0].justify, 1);
    EXPECT_EQ(m.lines[1].justify, 0);
    EXPECT_EQ(m.lines[2].justify, 0);
}

TEST(BMFontLayout, EmptyTextAndSizes)
{
    struct Case
    {
        std::wstring text;
        render::TextLayout layout;
        float width, height;
    } cases[] = {
        {L"", Wrap(0), 0, 20},
        {L"", Wrap(0, 5), 5, 20},
        {L"AV", Wrap(0), 18, 20},      // kerning counts in the width
        {L"a?a", Wrap(0), 20, 20},     // missing character skipped
        {L"a\U0001F600a", Wrap(0), 20, 20},
        {L"a\na", Wrap(0), 10, 40},
    };
    render::TextLayout replaced;
    replaced.replacement = 'r';
    for (auto& c : cases)
    {
        const Measured m = Measure(c.text, c.layout);
        EXPECT_EQ(m.width, c.width) << c.text.size();
        EXPECT_EQ(m.height, c.height) << c.text.size();
    }
    EXPECT_EQ(Measure(L"a?a", replaced).width, 30.0f);
    EXPECT_EQ(Measure(L"a\U0001F600a", replaced).width, 30.0f);
    render::TextLayout fixedWidth = Wrap(300);
    fixedWidth.measureToText = 0;
    EXPECT_EQ(Measure(L"aa", fixedWidth).width, 300.0f);
    render::TextLayout spaced;
    spaced.extraLineSpacing = 3;
    spaced.letterSpacing = 1;
    const Measured s = Measure(L"aa\naa\na", spaced);
    EXPECT_EQ(s.width, 22.0f);
    EXPECT_EQ(s.height, 2 * 23.0f + 20.0f);
}

TEST(BMFontLayout, BeyondTheFixedLineArray)
{
    std::wstring text;
    for (int i = 0; i < 1100; ++i)
        text += L"a\n";
    text += L"aaa";
    const Measured m = Measure(text, Wrap(0));
    ASSERT_EQ(m.lines.size(), 1101u);
    EXPECT_EQ(m.lines[1100].first, 2200);
    EXPECT_EQ(m.lines[1100].width, 30.0f);
    EXPECT_EQ(m.height, 1100 * 20.0f + 20.0f);
}

namespace
{
class BMFontFile : public hvtest::DataRootTest
{
};
} // namespace

TEST_F(BMFontFile, LoadsTheDescriptionThroughTheFileManager)
{
    rendertest::RecordingRender render;
    ASSERT_EQ(render.Init(), HV_OK);
    const auto png = fixtures::MakePng(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFFu));
    dir.Write("fonts/main.fnt", MakeFnt());
    dir.Write("fonts/page0.png", std::string(png.begin(), png.end()));
    dir.Write("fonts/cut.fnt", MakeFnt().substr(0, 200));
    dir.Write("lost/nopage.fnt", MakeFnt());
    struct Case
    {
        const wchar_t* name;
        bool withRender;
        bool ok;
        bool parsed;
    } cases[] = {
        {L"fonts/main", true, true, true},
        {L"fonts/cut", true, false, false},
        {L"fonts/none", true, false, false},
        {L"lost/nopage", true, false, true}, // its page picture is missing
        {L"fonts/main", false, false, true}, // no renderer to load the page with
    };
    for (auto& c : cases)
    {
        render::BMFont font;
        ASSERT_EQ(font.Init(c.name), HV_OK);
        if (c.withRender)
            font.SetRender(&render);
        EXPECT_EQ(font.DoLoad() == HV_OK, c.ok) << c.ok;
        EXPECT_EQ(font.HasGlyph(uint16_t('V')), c.parsed);
        EXPECT_EQ(font.GetPageCount(), c.parsed ? 1u : 0u);
        font.DoUnLoad();
        EXPECT_EQ(font.GetPageCount(), 0u);
    }
}
