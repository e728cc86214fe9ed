#pragma once

// Bitmap fonts for the drawing tests: a ".fnt" description and page
// pictures whose glyphs are solid white rectangles on a clear ground.
#include "PictureFixtures.h"

#include <string>
#include <vector>

namespace fixtures
{
struct FontGlyph
{
    int id;
    int x, y, w, h;
    int xOffset, yOffset, advance;
    int page;
};

struct FontKerning
{
    int first, second;
    float amount;
};

// Line height ("size") 20, base 16; page i is "page<i>.png" for each listed id.
std::string MakeFontXml(const std::vector<FontGlyph>& glyphs, int pageCount, const std::vector<int>& pageIds,
                        const std::vector<FontKerning>& kernings = {});
// A w x h page: white where a glyph of that page lies, clear elsewhere.
Bytes MakeGlyphPage(int w, int h, const std::vector<FontGlyph>& glyphs, int page);
} // namespace fixtures
