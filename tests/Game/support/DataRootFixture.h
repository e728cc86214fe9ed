#pragma once

// Game data written by the tests into a temporary data root: layered-image
// folders ("layers.xml" and one solid-colour picture per layer), the fixture
// bitmap font and loose text files. Later game issues add their own writers.
#include "Core/Resource/ResourceHandle.h"
#include "support/TempFolder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render
{
class Font;
class Render;
}

namespace gametest
{
// One layer: its full name (group path included), rectangle and colour.
struct FixtureLayer
{
    std::string name;
    int x = 0;
    int y = 0;
    int w = 1;
    int h = 1;
    uint32_t argb = 0xFFFFFFFFu;
    // -1: the layer's position in the list.
    int index = -1;
    // False: the layer has no picture file.
    bool picture = true;
};

// "layers.xml" text: one "Layer" row per layer, in list order.
std::string LayersXml(const std::vector<FixtureLayer>& layers);
// A w x h PNG of one colour.
std::string SolidPng(int w, int h, uint32_t argb);

// The layered image of the sprite tests: (prefix/) groups "idle" (3 frames),
// "s_point" (one marker at 40, 20), root layers "base_a" and "base_b", a
// nested "idle/deep/x" that no group lists, an upper-case group folder
// "Walk/w0" and an upper-case base name "special/showInvisible_01".
std::vector<FixtureLayer> SpriteSetLayers(const std::string& prefix = std::string());

// The fixture font's glyphs: '$', '#', ' ', digits and a-z, 8 x 12 each,
// advancing 10, on one 128 x 64 page; line height 20, base 16.
constexpr float kFixtureGlyphAdvance = 10.0f;

class DataRoot
{
public:
    // The current directory is the data root until the object goes.
    DataRoot();
    ~DataRoot();
    DataRoot(const DataRoot&) = delete;
    DataRoot& operator=(const DataRoot&) = delete;

    // Writes the folder's "layers.xml" and each layer's picture "<folder>/<name>.png".
    void WriteLayeredImage(const std::string& folder, const std::vector<FixtureLayer>& layers) const;
    // "<path>.fnt" and its page "page0.png" beside it.
    void WriteFixtureFont(const std::string& path) const;
    void Write(const std::string& relative, const std::string& bytes) const { mFolder.Write(relative, bytes); }
    std::string Read(const std::string& relative) const { return mFolder.Read(relative); }
    bool Has(const std::string& relative) const { return mFolder.Has(relative); }

    const hvtest::TempFolder& Folder() const { return mFolder; }

private:
    hvtest::TempFolder mFolder;
    std::unique_ptr<hvtest::CurrentDirectory> mCurrent;
};

// The fixture font at path (written by WriteFixtureFont), loaded through the
// resource manager for the renderer, as a counted font handle.
resource::ResourceHandle<render::Font> LoadFixtureFont(const std::wstring& path, render::Render* render);
} // namespace gametest
