#include "Core/File/FileTestSupport.h"
#include "FontFixtures.h"
#include "RecordingRender.h"

#include "Core/Render/BMFont.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace rendertest
{
namespace
{
using fixtures::FontGlyph;
using render::SVertex2D;

// a, b: 8 x 16 glyphs on pages 0 and 1; z: no advance; q: on page 2, which
// has no picture; A and V with kerning (A, V) -2.
const std::vector<FontGlyph> kGlyphs = {
    {'a', 0, 0, 8, 16, 1, 2, 10, 0}, {'b', 8, 0, 8, 16, 0, 0, 10, 1}, {' ', 0, 0, 0, 0, 0, 0, 10, 0},
    {'z', 16, 0, 4, 4, 0, 0, 0, 0},  {'q', 0, 0, 8, 16, 0, 0, 10, 2}, {'A', 20, 0, 6, 16, 0, 0, 10, 0},
    {'V', 26, 0, 6, 16, 0, 0, 10, 0},
};

// Notes the vertex count of every batch that passes through it.
class BatchCounter : public render::DrawParam
{
public:
    int TransformVertices(void*, const render::VertexFormat*, unsigned count) override
    {
        counts.push_back(count);
        return 0;
    }
    std::vector<unsigned> counts;
};

class FontDrawTest : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        ASSERT_EQ(r.Init(), HV_OK);
        dir.Write("fonts/f.fnt", fixtures::MakeFontXml(kGlyphs, 3, {0, 1}, {{'A', 'V', -2}}));
        for (int page : {0, 1})
        {
            const auto png = fixtures::MakeGlyphPage(32, 16, kGlyphs, page);
            dir.Write("fonts/page" + std::to_string(page) + ".png", std::string(png.begin(), png.end()));
        }
        font = std::make_unique<render::BMFont>();
        ASSERT_EQ(font->Init(L"fonts/f"), HV_OK);
        font->SetRender(&r);
        ASSERT_EQ(font->DoLoad(), HV_OK);
        g = std::make_unique<render::Graphics>(&r);
        g->mFont = font.get();
        ASSERT_EQ(r.BeginFrame(), HV_OK);
    }
    void TearDown() override
    {
        if (r.IsInFrame())
            r.EndFrame();
        g.reset();
        font.reset();
        DataRootTest::TearDown();
    }

    // Draws through a body with the counting record; returns the batches' vertex counts.
    std::vector<unsigned> Batches(const std::wstring& text, const render::TextLayout& layout = {})
    {
        BatchCounter counter;
        render::DrawTextParam body(g.get(), &text);
        body.mLayout = layout;
        EXPECT_EQ(body.Draw(&counter), HV_OK);
        return counter.counts;
    }

    uint32_t Used() { return render::GetVertexCache<SVertex2D>(&r)->GetMain()->mImpl->GetWritePosition(); }
    const SVertex2D* Vertices()
    {
        auto* buffer =
            static_cast<MemoryVertexBuffer*>(render::GetVertexCache<SVertex2D>(&r)->GetMain()->mImpl);
        return reinterpret_cast<const SVertex2D*>(buffer->mMemory.data());
    }
    // The quad's top-left corner, before the half-pixel offset.
    std::pair<float, float> Corner(int quad) const
    {
        const SVertex2D& v = const_cast<FontDrawTest*>(this)->Vertices()[4 * quad];
        return {v.x + 0.5f, v.y + 0.5f};
    }
    std::vector<Call> End()
    {
        EXPECT_EQ(r.EndFrame(), HV_OK);
        r.mCalls.clear();
        EXPECT_EQ(r.ExecuteCommands(), HV_OK);
        return r.mCalls;
    }
    render::Texture* Page(int i) { return font->GetPage(size_t(i))->GetTexture(); }

    RecordingRender r;
    std::unique_ptr<render::BMFont> font;
    std::unique_ptr<render::Graphics> g;
};

TEST_F(FontDrawTest, OneIndexedDrawPerSamePageRun)
{
    EXPECT_EQ(Batches(L"aab ba"), (std::vector<unsigned>{8, 8, 4}));
    EXPECT_EQ(Used(), 20u);
    const auto calls = End();
    EXPECT_EQ(Only(calls, {"drawi"}), (std::vector<Call>{{"drawi", {3, 2, 0, 4, 0, 8}},
                                                         {"drawi", {3, 2, 12, 4, 8, 8}},
                                                         {"drawi", {3, 2, 24, 2, 16, 4}}}));
    const auto address = [](render::Texture* t) { return RecordingRender::Address(t); };
    EXPECT_EQ(Only(calls, {"texture TextureSampler"}),
              (std::vector<Call>{{"texture TextureSampler", {address(Page(0))}},
                                 {"texture TextureSampler", {address(Page(1))}},
                                 {"texture TextureSampler", {address(Page(0))}}}));
    // Glyph quads: offset from the pen, texture coordinates from the page size.
    const SVertex2D* v = Vertices();
    EXPECT_EQ(v[0].x, 1 - 0.5f);
    EXPECT_EQ(v[0].y, 2 - 0.5f);
    EXPECT_EQ(v[2].x, 9 - 0.5f);
    EXPECT_EQ(v[2].y, 18 - 0.5f);
    EXPECT_EQ(v[2].u, 0.25f);
    EXPECT_EQ(v[2].v, 1.0f);
    EXPECT_EQ(v[8].x, 20 - 0.5f); // the first 'b'
    EXPECT_EQ(v[8].u, 0.25f);
    EXPECT_EQ(v[12].x, 40 - 0.5f); // after the space
}

TEST_F(FontDrawTest, SubmitsExactlyTheQuadsItWrites)
{
    struct Case
    {
        const wchar_t* text;
        std::vector<unsigned> batches;
    } cases[] = {
        {L"a\nzz", {4}},   // the zero-width paragraph is never placed
        {L"zz", {}},
        {L"a zz", {12}},   // placed after a word: drawn
        {L"aqa", {8}},     // a glyph on a page without picture is skipped
        {L"\xE9", {}},     // missing
    };
    for (const Case& c : cases)
    {
        const uint32_t before = Used();
        const auto counts = Batches(c.text);
        EXPECT_EQ(counts, c.batches) << c.batches.size();
        unsigned sum = 0;
        for (unsigned n : counts)
            sum += n;
        EXPECT_EQ(Used() - before, sum);
    }
    // The skipped glyph still moves the pen.
    const uint32_t first = Used() / 4;
    Batches(L"aqa");
    EXPECT_EQ(Corner(int(first) + 1).first, 21.0f);
}

TEST_F(FontDrawTest, LongRunsCloseAtTheIndexCacheLimit)
{
    EXPECT_EQ(Batches(std::wstring(400, L'a')), (std::vector<unsigned>{680, 680, 240}));
    const auto calls = End();
    unsigned primitives = 0;
    for (const Call& c : Only(calls, {"drawi"}))
        primitives += unsigned(c.args[3]);
    EXPECT_EQ(primitives, 800u);
}

// A text far longer than any window shows holds the caches to a bound: the
// glyphs past the bound are laid out but not reserved.
TEST_F(FontDrawTest, AHugeTextReservesABoundedNumberOfQuads)
{
    auto* vertices = render::GetVertexCache<SVertex2D>(&r);
    const uint32_t mainCapacity = vertices->GetMain()->mImpl->GetCount();
    for (const std::wstring& text : {std::wstring(200000, L'a'), std::wstring(100000, L'a') + L"\n" +
                                                                    std::wstring(100000, L'b')})
    {
        const auto counts = Batches(text);
        unsigned sum = 0;
        for (unsigned n : counts)
            sum += n;
        EXPECT_EQ(sum, 4u * render::BMFont::kMaxDrawnGlyphs);
    }
    // Both texts together fit the main buffer and the overflow they needed.
    uint32_t held = mainCapacity;
    for (const auto* buffer : vertices->GetOverflow())
        held += buffer->mImpl->GetCount();
    EXPECT_LE(held, mainCapacity + 2u * 4u * render::BMFont::kMaxDrawnGlyphs);
    End();
}

TEST_F(FontDrawTest, BeyondTheFixedLineAndBatchArrays)
{
    std::wstring text;
    for (int i = 0; i < 1100; ++i)
        text += i % 2 ? L"b\n" : L"a\n";
    const auto counts = Batches(text);
    ASSERT_EQ(counts.size(), 1100u);
    EXPECT_EQ(counts.back(), 4u);
    EXPECT_EQ(Used(), 4400u);
    // Line 1099's 'b' (y offset 0) sits 1099 line advances down.
    EXPECT_EQ(Corner(1099).second, 1099 * 20.0f);
    EXPECT_EQ(Corner(1099).first, 0.0f);
}

TEST_F(FontDrawTest, AlignmentJustificationAndKerningPlaceThePen)
{
    render::TextLayout right;
    right.alignment = 1;
    right.firstLineIndent = 5;
    render::TextLayout centre;
    centre.alignment = 2;
    centre.wrapWidth = 100;
    centre.measureToText = 0;
    render::TextLayout justify;
    justify.alignment = 3;
    justify.wrapWidth = 55;
    justify.measureToText = 0;
    struct Case
    {
        const wchar_t* text;
        render::TextLayout layout;
        int quad;
        float x, y;
    } cases[] = {
        {L"aaaa\naa", right, 4, 21, 22},   // 45 - 25 without the indent, + 1 offset
        {L"aaaa\naa", right, 0, 1, 2},     // 45 - 45, the indent not added, + 1
        {L"aaa", centre, 0, 36, 2},        // ceil(70 / 2) + 1
        {L"aa aa aa", justify, 2, 36, 2},  // one space of 10 + 5 extra
        {L"aa aa aa", justify, 4, 1, 22},  // the paragraph's last line is not stretched
        {L"aaaaaaa", justify, 4, 46, 2},   // letters spread by 5 / 4
        {L"AV", {}, 1, 10, 0},             // V at the unkerned pen
    };
    for (const Case& c : cases)
    {
        const uint32_t first = Used() / 4;
        Batches(c.text, c.layout);
        EXPECT_EQ(Corner(int(first) + c.quad).first, c.x) << int(&c - cases);
        EXPECT_EQ(Corner(int(first) + c.quad).second, c.y) << int(&c - cases);
    }
}

TEST_F(FontDrawTest, ColourAndTintInEveryGlyphVertex)
{
    g->SetColor(0, 1, 0, 0.5f);
    g->mTint = 1;
    Batches(L"ab");
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(Vertices()[i].diffuse, 0x7F00FF00u);
        EXPECT_EQ(Vertices()[i].specular, 0x0000FF00u);
    }
}

TEST_F(FontDrawTest, TextRecordsAlignTransformAndReport)
{
    const std::wstring text = L"a";
    math::Transform2D shift;
    shift.Translate(5, 5);
    const float d[2] = {3, 4};
    struct Case
    {
        const char* name;
        std::function<void()> draw;
        float x, y;
    } cases[] = {
        {"plain", [&] { g->DrawText(text); }, 1, 2},
        {"scale pair", [&] { g->DrawText(text).Scale(2, 3); }, 2, 6},
        {"uniform", [&] { g->DrawText(text).ScaleUniform(2); }, 2, 4},
        {"transform", [&] { g->DrawText(text).Transform(shift); }, 6, 7},
        {"translate", [&] { g->DrawText(text).Translate(d); }, 4, 6},
        {"centred", [&] { g->DrawText(text)->SetAlign(2, 2); }, -4, -8},
        {"baseline", [&] { g->DrawText(text)->SetAlign(1, 3); }, -9, -14},
    };
    for (const Case& c : cases)
    {
        const uint32_t before = Used();
        c.draw();
        ASSERT_EQ(Used() - before, 4u) << c.name;
        EXPECT_EQ(Corner(int(before / 4)).first, c.x) << c.name;
        EXPECT_EQ(Corner(int(before / 4)).second, c.y) << c.name;
    }

    float width = -1, height = -1;
    math::BoundingBox box;
    const std::wstring words = L"aa aa";
    {
        auto record = g->DrawTextBox(words, 30, 0, 2, true);
        record->SetWidthOut(&width);
        record->SetHeightOut(&height);
        record->SetBoxOut(&box);
        record->SetAlign(2, 0);
    }
    EXPECT_EQ(width, 20.0f);
    EXPECT_EQ(height, 40.0f);
    EXPECT_EQ(box.mMin.x, -10.0f);
    EXPECT_EQ(box.mMax.x, 10.0f);
    EXPECT_EQ(box.mMax.y, 40.0f);

    // Measuring through the font draws nothing.
    const uint32_t before = Used();
    float measured = -1;
    font->Text(L"aaa")->SetWidthOut(&measured);
    EXPECT_EQ(measured, 30.0f);
    EXPECT_EQ(Used(), before);
}
} // namespace
} // namespace rendertest
