#pragma once

// A bitmap font: glyph rectangles from a ".fnt" XML description, glyph
// pictures in page images.
#include "Core/Render/Buffer.h"
#include "Core/Render/Font.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/TextLayout.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace render
{
class Image;
class Render;

class BMFont : public Font, public GraphicsFriend
{
public:
    struct Glyph
    {
        float x = 0, y = 0;
        float width = 0, height = 0;
        float xOffset = 0, yOffset = 0;
        float xAdvance = 0;
        uint32_t page = 0;
        uint32_t channel = 0;
        std::map<uint16_t, float> kernings; // preceding character -> amount
    };

    struct TextLine
    {
        float width = 0;
        int first = 0;
        int count = 0;
        int spaces = 0;
        float startOffset = 0;
        uint8_t justify = 0;
    };

    struct GlyphBatch
    {
        int count = 0;
        uint32_t page = 0;
    };

    static constexpr int kFixedLines = 1024;
    static constexpr int kFixedBatches = 256;
    static constexpr uint32_t kMaxPages = 256;
    // 6 indices a glyph must fit the 16-bit index cache's 1,024-index overflow buffers.
    static constexpr int kMaxBatchGlyphs = 170;
    // Glyph quads one text reserves at most: more than a full window shows,
    // so that a text of any length holds the streaming caches to a bound.
    static constexpr int kMaxDrawnGlyphs = 8192;

    BMFont() = default;
    ~BMFont() override;

    HVResultEnum Release() override;
    HVResultEnum DoLoad() override;
    HVResultEnum DoUnLoad() override;
    int DrawText(Graphics* context, DrawTextParam* body, const std::wstring* text, const TextLayout* layout,
                 float size[2]) override;
    using Font::HasGlyph;
    bool HasGlyph(uint16_t code) override;

    // The renderer that loads the page pictures; set before loading.
    void SetRender(Render* render) { mPageRender = render; }

    // Reads the description; page file names are kept for the page loading.
    HVResultEnum ParseDescription(const char* xml);

    const std::map<uint16_t, Glyph>& GetGlyphs() const { return mGlyphs; }
    const std::vector<std::string>& GetPageFiles() const { return mPageFiles; }
    size_t GetPageCount() const { return mPages.size(); }
    Image* GetPage(size_t i) const { return i < mPages.size() ? mPages[i] : nullptr; }

    // Line storage: the first kFixedLines in place, the rest on the heap.
    template <class T, int N>
    class Records
    {
    public:
        void Add(const T& value)
        {
            if (mCount < N)
                mFixed[mCount] = value;
            else
                mMore.push_back(value);
            ++mCount;
        }
        int Size() const { return mCount; }
        T& operator[](int i) { return i < N ? mFixed[i] : mMore[size_t(i - N)]; }
        T& Back() { return (*this)[mCount - 1]; }

    private:
        T mFixed[N];
        std::vector<T> mMore;
        int mCount = 0;
    };
    using Lines = Records<TextLine, kFixedLines>;
    using Batches = Records<GlyphBatch, kFixedBatches>;

    // Breaks the text into lines; returns the laid-out (width, height).
    void LayOut(const std::wstring& text, const TextLayout& layout, Lines& lines, float size[2]);
    // Batches of the glyphs the lines place (pages without a picture place none).
    void MakeBatches(const std::wstring& text, const TextLayout& layout, Lines& lines, Batches& batches);

private:
    struct Batch;
    int DrawLines(Graphics* context, DrawTextParam* body, const std::wstring& text, const TextLayout& layout,
                  Lines& lines, float width);
    int Submit(DrawTextParam* body, Batch& batch);
    HVResultEnum LoadPages();
    const Glyph* Find(wchar_t c, const Glyph* fallback) const;
    const Glyph* Fallback(const TextLayout& layout) const;
    bool PageHasPicture(uint32_t page) const;

    Render* mPageRender = nullptr;
    std::string mFace;
    uint8_t mBold = 0, mItalic = 0;
    std::string mCharset;
    float mStretch = 0;
    uint8_t mSmooth = 0;
    unsigned mAntiAliasing = 0;
    int mPadding[4] = {};
    float mSpacing[2] = {};
    unsigned mOutline = 0;
    float mCommonLineHeight = 0;
    float mScaleWidth = 0, mScaleHeight = 0;
    std::map<uint16_t, Glyph> mGlyphs;
    std::vector<Image*> mPages;
    float mFirstLineOffset = 0;
    float mTextureScale = 1.0f;
    std::vector<std::string> mPageFiles;
};
} // namespace render
