#include "DataRootFixture.h"

#include "FontFixtures.h"
#include "PictureFixtures.h"

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceManager.h"

namespace gametest
{
namespace
{
constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 12;
constexpr int kPageWidth = 128;
constexpr int kPageHeight = 64;
constexpr int kGlyphsPerRow = kPageWidth / kGlyphWidth;

std::vector<fixtures::FontGlyph> FixtureGlyphs()
{
    std::string characters = "$# 0123456789";
    for (char c = 'a'; c <= 'z'; ++c)
        characters += c;
    std::vector<fixtures::FontGlyph> glyphs;
    int slot = 0;
    for (char c : characters)
    {
        const int x = (slot % kGlyphsPerRow) * kGlyphWidth;
        const int y = (slot / kGlyphsPerRow) * kGlyphHeight;
        const bool blank = c == ' ';
        glyphs.push_back({c, x, y, blank ? 0 : kGlyphWidth, blank ? 0 : kGlyphHeight, 1, 4,
                          static_cast<int>(kFixtureGlyphAdvance), 0});
        ++slot;
    }
    return glyphs;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        switch (c)
        {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}
} // namespace

std::string LayersXml(const std::vector<FixtureLayer>& layers)
{
    std::string xml = "<?xml version=\"1.0\"?>\n<Layers>\n";
    for (size_t i = 0; i < layers.size(); ++i)
    {
        const FixtureLayer& l = layers[i];
        const int index = l.index < 0 ? static_cast<int>(i) : l.index;
        xml += "  <Layer name=\"" + Escaped(l.name) + "\" x=\"" + std::to_string(l.x) + "\" y=\"" +
               std::to_string(l.y) + "\" width=\"" + std::to_string(l.w) + "\" height=\"" + std::to_string(l.h) +
               "\" opacity=\"255\" ind=\"" + std::to_string(index) + "\"/>\n";
    }
    return xml + "</Layers>\n";
}

std::string SolidPng(int w, int h, uint32_t argb)
{
    const fixtures::Bytes png = fixtures::MakePng(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), argb));
    return std::string(png.begin(), png.end());
}

std::vector<FixtureLayer> SpriteSetLayers(const std::string& prefix)
{
    const std::string p = prefix.empty() ? std::string() : prefix + "/";
    return {
        {p + "idle/i0", 10, 10, 20, 30, 0xFFFF0000u},
        {p + "idle/i1", 12, 10, 20, 30, 0xFF00FF00u},
        {p + "idle/deep/x", 0, 0, 4, 4, 0xFF0000FFu},
        {p + "idle/i2", 14, 10, 20, 30, 0xFF0000FFu},
        {p + "s_point/anchor", 40, 20, 2, 2, 0xFFFFFFFFu},
        {p + "base_a", 0, 0, 16, 16, 0xFF808080u},
        {p + "Walk/w0", 0, 0, 8, 8, 0xFF00FFFFu},
        {p + "special/showInvisible_01", 5, 6, 7, 8, 0xFFFF00FFu},
        {p + "base_b", 16, 0, 16, 16, 0xFF404040u},
    };
}

DataRoot::DataRoot() : mCurrent(std::make_unique<hvtest::CurrentDirectory>(mFolder.Folder())) {}

DataRoot::~DataRoot() { mCurrent.reset(); }

void DataRoot::WriteLayeredImage(const std::string& folder, const std::vector<FixtureLayer>& layers) const
{
    mFolder.Write(folder + "/layers.xml", LayersXml(layers));
    for (const FixtureLayer& layer : layers)
    {
        if (layer.picture)
            mFolder.Write(folder + "/" + layer.name + ".png", SolidPng(layer.w, layer.h, layer.argb));
    }
}

void DataRoot::WriteFixtureFont(const std::string& path) const
{
    const std::vector<fixtures::FontGlyph> glyphs = FixtureGlyphs();
    mFolder.Write(path + ".fnt", fixtures::MakeFontXml(glyphs, 1, {0}));
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    const fixtures::Bytes page = fixtures::MakeGlyphPage(kPageWidth, kPageHeight, glyphs, 0);
    mFolder.Write(folder + "page0.png", std::string(page.begin(), page.end()));
}

resource::ResourceHandle<render::Font> LoadFixtureFont(const std::wstring& path, render::Render* render)
{
    resource::ResourceManager* manager = resource::ResourceManager::Instance();
    resource::ResourceHandle<render::BMFont> font = manager->Get<render::BMFont>(path);
    if (!font)
        return {};
    font->SetRender(render);
    if (!font->IsLoaded() && font->Load() != HV_OK)
        return {};
    // The handle shares the manager's count of the font.
    auto& entry = manager->GetMap<render::BMFont>()[path];
    ++*entry.second;
    return resource::ResourceHandle<render::Font>(entry.first, entry.second);
}
} // namespace gametest
