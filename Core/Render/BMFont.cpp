#include "Core/Render/BMFont.h"

#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/QuadVertices.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Resource/ResourceManager.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace render
{
namespace
{
// The application's font scale; 1 in this program.
constexpr float kAppScale = 1.0f;

bool IsSpace(wchar_t c) { return c == 32 || c == 9; }

bool ReadFloat(const tinyxml2::XMLElement* e, const char* name, float& out)
{
    return e->QueryFloatAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}
bool ReadUnsigned(const tinyxml2::XMLElement* e, const char* name, unsigned& out)
{
    return e->QueryUnsignedAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}
bool ReadBool(const tinyxml2::XMLElement* e, const char* name, bool& out)
{
    return e->QueryBoolAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}
} // namespace

BMFont::~BMFont() { DoUnLoad(); }

HVResultEnum BMFont::Release() { return resource::ResourceManager::Instance()->Remove(this); }

bool BMFont::HasGlyph(uint16_t code) { return mGlyphs.count(code) != 0; }

HVResultEnum BMFont::DoLoad()
{
    std::unique_ptr<file::FileInfo> entry(file::FileManager::Instance()->Open(GetName() + L".fnt"));
    if (!entry)
        return HV_FAIL;
    std::unique_ptr<base::Stream> stream(entry->OpenStream());
    if (!stream)
        return HV_FAIL;
    std::vector<char> text(size_t(stream->Size()) + 1, '\0');
    if (stream->Read(text.data(), stream->Size()) != stream->Size())
        return HV_FAIL;
    mTextureScale = file::FileManager::Instance()->fontScale;
    const HVResultEnum result = ParseDescription(text.data());
    if (result != HV_OK)
        return result;
    return LoadPages();
}

HVResultEnum BMFont::LoadPages()
{
    // Without its renderer a font cannot load its pictures.
    if (!mPageRender)
        return HV_FAIL;
    const std::wstring& name = GetName();
    const size_t slash = name.find_last_of(L"/\\");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : name.substr(0, slash + 1);
    for (size_t i = 0; i < mPages.size(); ++i)
    {
        // A slot no "page" element filled stays empty; its glyphs are not drawn.
        if (mPageFiles[i].empty())
            continue;
        const HVResultEnum result =
            mPageRender->LoadTexture(folder + base::Utf8ToWide(mPageFiles[i]), nullptr, &mPages[i], nullptr);
        if (result != HV_OK)
            return result;
    }
    return HV_OK;
}

HVResultEnum BMFont::DoUnLoad()
{
    for (Image* page : mPages)
        if (page)
        {
            page->Release();
            delete page;
        }
    mPages.clear();
    return HV_OK;
}

HVResultEnum BMFont::ParseDescription(const char* xml)
{
    tinyxml2::XMLDocument doc;
    if (doc.Parse(xml) != tinyxml2::XML_SUCCESS)
        return HV_FAIL;
    const tinyxml2::XMLElement* font = doc.FirstChildElement("font");
    if (!font)
        return HV_FAIL;
    const tinyxml2::XMLElement* info = font->FirstChildElement("info");
    const tinyxml2::XMLElement* common = font->FirstChildElement("common");
    const tinyxml2::XMLElement* pages = font->FirstChildElement("pages");
    const tinyxml2::XMLElement* chars = font->FirstChildElement("chars");
    if (!info || !common || !pages || !chars)
        return HV_FAIL;

    const char* face = info->Attribute("face");
    const char* charset = info->Attribute("charset");
    if (!charset)
        charset = info->Attribute("chasrset");
    const char* padding = info->Attribute("padding");
    const char* spacing = info->Attribute("spacing");
    float size;
    bool bold, italic, unicode, smooth;
    unsigned aa, outline;
    if (!face || !charset || !padding || !spacing || !ReadFloat(info, "size", size) || !ReadBool(info, "bold", bold) ||
        !ReadBool(info, "italic", italic) || !ReadBool(info, "unicode", unicode) ||
        !ReadFloat(info, "stretchH", mStretch) || !ReadBool(info, "smooth", smooth) || !ReadUnsigned(info, "aa", aa) ||
        !ReadUnsigned(info, "outline", outline))
        return HV_FAIL;
    if (!unicode)
        return HV_FAIL;
    int pad[4];
    char tail;
    if (std::sscanf(padding, "%d,%d,%d,%d%c", &pad[0], &pad[1], &pad[2], &pad[3], &tail) != 4)
        return HV_FAIL;
    float space[2];
    if (std::sscanf(spacing, "%f,%f%c", &space[0], &space[1], &tail) != 2)
        return HV_FAIL;
    mFace = face;
    mCharset = charset;
    mBold = bold;
    mItalic = italic;
    mSmooth = smooth;
    mAntiAliasing = aa;
    mOutline = outline;
    std::copy(pad, pad + 4, mPadding);
    std::copy(space, space + 2, mSpacing);
    mLineHeight = size * kAppScale;

    unsigned pageCount, packed, alpha, red, green, blue;
    if (!ReadFloat(common, "lineHeight", mCommonLineHeight) || !ReadFloat(common, "base", mBase) ||
        !ReadFloat(common, "scaleW", mScaleWidth) || !ReadFloat(common, "scaleH", mScaleHeight) ||
        !ReadUnsigned(common, "pages", pageCount) || !ReadUnsigned(common, "packed", packed) ||
        !ReadUnsigned(common, "alphaChnl", alpha) || !ReadUnsigned(common, "redChnl", red) ||
        !ReadUnsigned(common, "greenChnl", green) || !ReadUnsigned(common, "blueChnl", blue))
        return HV_FAIL;
    mCommonLineHeight *= kAppScale;
    mBase *= kAppScale;
    if (packed != 0 || alpha != 0 || red != 4 || green != 4 || blue != 4)
        return HV_FAIL;
    // A stray count would allocate billions of slots.
    if (pageCount > kMaxPages)
        return HV_FAIL;
    mPages.assign(pageCount, nullptr);
    mPageFiles.assign(pageCount, std::string());

    for (auto* page = pages->FirstChildElement("page"); page; page = page->NextSiblingElement("page"))
    {
        unsigned id;
        const char* file = page->Attribute("file");
        if (!ReadUnsigned(page, "id", id) || !file || id >= pageCount)
            return HV_FAIL;
        mPageFiles[id] = file;
    }

    for (auto* c = chars->FirstChildElement("char"); c; c = c->NextSiblingElement("char"))
    {
        unsigned id;
        Glyph g;
        if (!ReadUnsigned(c, "id", id) || !ReadFloat(c, "x", g.x) || !ReadFloat(c, "y", g.y) ||
            !ReadFloat(c, "width", g.width) || !ReadFloat(c, "height", g.height) ||
            !ReadFloat(c, "xoffset", g.xOffset) || !ReadFloat(c, "yoffset", g.yOffset) ||
            !ReadFloat(c, "xadvance", g.xAdvance) || !ReadUnsigned(c, "page", g.page) ||
            !ReadUnsigned(c, "chnl", g.channel))
            return HV_FAIL;
        const float rectScale = mTextureScale * kAppScale;
        g.x *= rectScale;
        g.y *= rectScale;
        g.width *= rectScale;
        g.height *= rectScale;
        g.xOffset *= kAppScale;
        g.yOffset *= kAppScale;
        g.xAdvance *= kAppScale;
        mGlyphs[uint16_t(id)] = g;
    }

    if (const tinyxml2::XMLElement* kernings = font->FirstChildElement("kernings"))
    {
        for (auto* k = kernings->FirstChildElement("kerning"); k; k = k->NextSiblingElement("kerning"))
        {
            unsigned first, second;
            float amount;
            if (!ReadUnsigned(k, "first", first) || !ReadUnsigned(k, "second", second) ||
                !ReadFloat(k, "amount", amount))
                return HV_FAIL;
            auto glyph = mGlyphs.find(uint16_t(second));
            if (glyph == mGlyphs.end())
                return HV_FAIL;
            glyph->second.kernings[uint16_t(first)] = amount * kAppScale;
        }
    }
    return HV_OK;
}

const BMFont::Glyph* BMFont::Fallback(const TextLayout& layout) const
{
    if (layout.replacement == 0)
        return nullptr;
    auto it = mGlyphs.find(layout.replacement);
    return it == mGlyphs.end() ? nullptr : &it->second;
}

const BMFont::Glyph* BMFont::Find(wchar_t c, const Glyph* fallback) const
{
    if (c < 0 || c > 0xFFFF)
        return fallback;
    auto it = mGlyphs.find(uint16_t(c));
    return it == mGlyphs.end() ? fallback : &it->second;
}

bool BMFont::PageHasPicture(uint32_t page) const { return page < mPages.size() && mPages[page] != nullptr; }

void BMFont::LayOut(const std::wstring& text, const TextLayout& layout, Lines& lines, float size[2])
{
    const Glyph* fallback = Fallback(layout);
    const float indent = layout.firstLineIndent;
    const int n = int(text.size());

    int first = 0;
    int breakPos = -1;
    int wordStart = 0;
    int spacesSeen = 0;
    int runSpaces = 0;
    float committed = 0, pending = 0, word = indent;
    bool paragraph = true;
    bool afterSpace = false; // the last placed character was a space
    bool inWord = false;     // the last placed character was a glyph

    auto startLine = [&](int at, float wordWidth, bool beginsParagraph) {
        first = at;
        wordStart = at;
        breakPos = -1;
        spacesSeen = 0;
        runSpaces = 0;
        committed = 0;
        pending = 0;
        word = wordWidth;
        paragraph = beginsParagraph;
        afterSpace = false;
        inWord = false;
    };
    auto closeAtBreak = [&](int index) {
        TextLine line;
        if (afterSpace && breakPos >= first)
        {
            line.width = committed + word;
            line.count = breakPos - first;
        }
        else
        {
            line.width = committed + pending + word;
            line.count = index - first;
        }
        line.first = first;
        line.startOffset = paragraph ? indent : 0.0f;
        lines.Add(line);
    };

    for (int i = 0; i < n; ++i)
    {
        const wchar_t c = text[size_t(i)];
        if (c == wchar_t(layout.lineBreak))
        {
            closeAtBreak(i);
            startLine(i + 1, indent, true);
            continue;
        }
        const Glyph* glyph = Find(c, fallback);
        if (!glyph)
            continue;
        if (IsSpace(c))
        {
            if (inWord)
            {
                committed += pending + word;
                word = 0;
                pending = 0;
                breakPos = i;
                runSpaces = 0;
            }
            pending += glyph->xAdvance + layout.letterSpacing;
            ++spacesSeen;
            ++runSpaces;
            afterSpace = true;
            inWord = false;
            continue;
        }
        if (afterSpace)
            wordStart = i;
        const wchar_t prev = i > 0 ? text[size_t(i - 1)] : 0;
        float kerning = 0;
        if (prev != 0 && prev >= 0 && prev <= 0xFFFF)
        {
            auto k = glyph->kernings.find(uint16_t(prev));
            if (k != glyph->kernings.end())
                kerning = k->second;
        }
        const float advance = glyph->xAdvance + layout.letterSpacing + kerning;
        word += advance;
        afterSpace = false;
        inWord = true;
        if (layout.wrapWidth > 0 && committed + pending + word > layout.wrapWidth)
        {
            TextLine line;
            line.first = first;
            if (breakPos > first)
            {
                line.width = committed;
                line.count = breakPos - first;
                line.spaces = spacesSeen - runSpaces;
                line.startOffset = paragraph ? indent : 0.0f;
                line.justify = 1;
                lines.Add(line);
                const float carried = word;
                startLine(wordStart, carried, false);
                inWord = true;
            }
            else if (i == first + 1)
            {
                line.width = committed + word;
                line.count = 1;
                lines.Add(line);
                startLine(i, 0.0f, false);
                inWord = true;
            }
            else
            {
                line.width = committed + word - advance;
                line.count = i - first;
                line.startOffset = paragraph ? indent : 0.0f;
                line.justify = 1;
                lines.Add(line);
                startLine(i, glyph->xAdvance + layout.letterSpacing, false);
                inWord = true;
            }
        }
    }
    if (committed + word > 0)
        closeAtBreak(n);

    float width = 0;
    for (int i = 0; i < lines.Size(); ++i)
        width = std::max(width, lines[i].width);
    if (!layout.measureToText && layout.wrapWidth > 0)
        width = layout.wrapWidth;
    const int count = lines.Size();
    const float height = count <= 1 ? GetLineHeight()
                                    : (GetLineAdvance() + layout.extraLineSpacing) * float(count - 1) + GetLineHeight();
    size[0] = width;
    size[1] = height;
}

void BMFont::MakeBatches(const std::wstring& text, const TextLayout& layout, Lines& lines, Batches& batches)
{
    const Glyph* fallback = Fallback(layout);
    int counted = 0;
    for (int l = 0; l < lines.Size() && counted < kMaxDrawnGlyphs; ++l)
    {
        const TextLine& line = lines[l];
        for (int i = line.first; i < line.first + line.count && i < int(text.size()) && counted < kMaxDrawnGlyphs;
             ++i)
        {
            const wchar_t c = text[size_t(i)];
            if (c == wchar_t(layout.lineBreak) || IsSpace(c))
                continue;
            const Glyph* glyph = Find(c, fallback);
            if (!glyph || !PageHasPicture(glyph->page))
                continue;
            if (batches.Size() == 0 || batches.Back().page != glyph->page ||
                batches.Back().count >= kMaxBatchGlyphs)
                batches.Add(GlyphBatch{0, glyph->page});
            ++batches.Back().count;
            ++counted;
        }
    }
}

int BMFont::DrawText(Graphics* context, DrawTextParam* body, const std::wstring* text, const TextLayout* layout,
                     float size[2])
{
    if ((!context && !size) || !text || !layout)
        return HV_OK;
    Lines lines;
    float measured[2];
    LayOut(*text, *layout, lines, measured);
    if (size)
    {
        size[0] = measured[0];
        size[1] = measured[1];
    }
    if (!context || lines.Size() == 0)
        return HV_OK;
    return DrawLines(context, body, *text, *layout, lines, measured[0]);
}

// One page run of glyph quads in the streaming caches.
struct BMFont::Batch
{
    Image* page = nullptr;
    ShaderTextured* shader = nullptr;
    SVertex2D* vertices = nullptr;
    uint16_t* indices = nullptr;
    BufferRange<VertexBuffer<SVertex2D>> vertexRange;
    BufferRange<IndexBuffer<unsigned short>> indexRange;
    int left = 0;    // quads reserved and not yet written
    int written = 0; // quads written
};

int BMFont::DrawLines(Graphics* context, DrawTextParam* body, const std::wstring& text, const TextLayout& layout,
                      Lines& lines, float width)
{
    Attach(context);
    ShaderTextured* shader = context->mTexturedShader;
    auto* vertexCache = GetVertexCache<SVertex2D>(mRender);
    auto* indexCache = mRender->GetIndexCache16();
    if (!shader || !vertexCache || !indexCache)
        return HV_FAIL;
    SetShader(shader->GetImpl());
    int result = SetProjection(shader);
    if (result != HV_OK)
        return result;
    const float* colour = context->mColor;
    const float tint = context->mTint;

    Batches batches;
    MakeBatches(text, layout, lines, batches);
    const Glyph* fallback = Fallback(layout);
    Batch batch;
    batch.shader = shader;
    int next = 0; // the next batch to open
    float texWidth = 1, texHeight = 1;
    float top = mFirstLineOffset;
    const float lineStep = GetLineAdvance() + layout.extraLineSpacing;

    int drawn = 0;
    for (int l = 0; l < lines.Size() && drawn < kMaxDrawnGlyphs; ++l, top += lineStep)
    {
        const TextLine& line = lines[l];
        const float free = width - line.width;
        float pen = line.startOffset;
        float extraSpace = 0, extraGlyph = 0;
        if (layout.alignment == 1)
            pen = free;
        else if (layout.alignment == 2)
            pen = std::ceil(free * 0.5f) + line.startOffset;
        else if (layout.alignment == 3 && line.justify)
        {
            extraSpace = line.spaces > 0 ? free / float(line.spaces) : 0.0f;
            if (layout.letterJustify && line.spaces == 0 && line.count >= 2)
                extraGlyph = free / float(line.count - 1);
        }
        for (int i = line.first; i < line.first + line.count && i < int(text.size()) && drawn < kMaxDrawnGlyphs;
             ++i)
        {
            const wchar_t c = text[size_t(i)];
            if (c == wchar_t(layout.lineBreak))
                continue;
            const Glyph* glyph = Find(c, fallback);
            if (!glyph)
                continue;
            if (IsSpace(c))
            {
                pen += glyph->xAdvance + layout.letterSpacing + extraSpace;
                continue;
            }
            // A glyph on a page without picture only moves the pen, so the
            // drawing keeps the measured layout.
            if (PageHasPicture(glyph->page))
            {
                if (batch.left == 0)
                {
                    if (batch.written > 0)
                    {
                        result = Submit(body, batch);
                        if (result != HV_OK)
                            return result;
                    }
                    if (next >= batches.Size())
                        return HV_FAIL;
                    const GlyphBatch& run = batches[next++];
                    batch.page = mPages[run.page];
                    batch.left = run.count;
                    batch.written = 0;
                    result = vertexCache->Reserve(uint32_t(4 * run.count), &batch.vertices, batch.vertexRange);
                    if (result == HV_OK)
                        result = indexCache->Reserve(uint32_t(6 * run.count), &batch.indices, batch.indexRange);
                    if (result != HV_OK)
                        return result;
                    texWidth = float(batch.page->GetWidth()) * kAppScale;
                    texHeight = float(batch.page->GetHeight()) * kAppScale;
                }
                const float c0[4] = {pen + glyph->xOffset, top + glyph->yOffset, 0, 1};
                const float c1[4] = {c0[0] + glyph->width / mTextureScale, c0[1] + glyph->height / mTextureScale, 0,
                                     1};
                const float t0[2] = {glyph->x / texWidth, glyph->y / texHeight};
                const float t1[2] = {(glyph->x + glyph->width) / texWidth, (glyph->y + glyph->height) / texHeight};
                SVertex2D* quad = batch.vertices + 4 * batch.written;
                FillQuadVertices(quad, batch.indices + 6 * batch.written,
                                 int(batch.vertexRange.mFirst) + 4 * batch.written, c0, c1, t0, t1);
                FillVertexColour(quad, 4, colour);
                FillVertexTint(quad, 4, tint);
                ++batch.written;
                --batch.left;
                ++drawn;
            }
            pen += glyph->xAdvance + layout.letterSpacing + extraGlyph;
        }
    }
    return batch.written > 0 ? Submit(body, batch) : HV_OK;
}

int BMFont::Submit(DrawTextParam* body, Batch& batch)
{
    const unsigned count = unsigned(4 * batch.written);
    int result = body ? body->AlignAndSubmit(batch.vertices, &SVertex2D::Format, count) : HV_OK;
    if (result == HV_OK)
        result = ApplyHalfPixelOffset(batch.vertices, &SVertex2D::Format, count);
    if (result != HV_OK)
        return result;
    batch.shader->SetTexture(batch.page);
    SetVertexBuffer(batch.vertexRange.mBuffer->mImpl);
    SetIndexBuffer(batch.indexRange.mBuffer->mImpl);
    result = ApplyState();
    if (result != HV_OK)
        return result;
    return mRender->DrawIndexedPrimitive(kPrimitiveTriangles, batch.indexRange.mFirst, uint32_t(2 * batch.written),
                                         batch.vertexRange.mFirst, count);
}
} // namespace render
