#include "FontFixtures.h"

namespace fixtures
{
namespace
{
std::string Attr(const char* name, int value) { return std::string(" ") + name + "=\"" + std::to_string(value) + "\""; }
} // namespace

std::string MakeFontXml(const std::vector<FontGlyph>& glyphs, int pageCount, const std::vector<int>& pageIds,
                        const std::vector<FontKerning>& kernings)
{
    std::string s = "<?xml version=\"1.0\"?><font><info face=\"Fixture\" size=\"20\" bold=\"0\" italic=\"0\" "
                    "charset=\"\" unicode=\"1\" stretchH=\"100\" smooth=\"1\" aa=\"1\" padding=\"0,0,0,0\" "
                    "spacing=\"1,1\" outline=\"0\"/><common lineHeight=\"20\" base=\"16\" scaleW=\"32\" "
                    "scaleH=\"16\"" +
                    Attr("pages", pageCount) +
                    " packed=\"0\" alphaChnl=\"0\" redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"/><pages>";
    for (int id : pageIds)
        s += "<page" + Attr("id", id) + " file=\"page" + std::to_string(id) + ".png\"/>";
    s += "</pages><chars>";
    for (const FontGlyph& g : glyphs)
        s += "<char" + Attr("id", g.id) + Attr("x", g.x) + Attr("y", g.y) + Attr("width", g.w) +
             Attr("height", g.h) + Attr("xoffset", g.xOffset) + Attr("yoffset", g.yOffset) +
             Attr("xadvance", g.advance) + Attr("page", g.page) + " chnl=\"15\"/>";
    s += "</chars><kernings>";
    for (const FontKerning& k : kernings)
        s += "<kerning" + Attr("first", k.first) + Attr("second", k.second) + " amount=\"" +
             std::to_string(k.amount) + "\"/>";
    return s + "</kernings></font>";
}

Bytes MakeGlyphPage(int w, int h, const std::vector<FontGlyph>& glyphs, int page)
{
    std::vector<uint32_t> pixels(size_t(w) * size_t(h), 0u);
    for (const FontGlyph& g : glyphs)
        if (g.page == page)
            for (int y = g.y; y < g.y + g.h && y < h; ++y)
                for (int x = g.x; x < g.x + g.w && x < w; ++x)
                    pixels[size_t(y) * size_t(w) + size_t(x)] = 0xFFFFFFFFu;
    return MakePng(w, h, pixels);
}
} // namespace fixtures
