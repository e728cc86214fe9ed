// Lines of text with inline pictures.
#include "GameTestFixture.h"

#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/AttributedChunk.h"
#include "Game/Data/AttributedText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
constexpr float kTolerance = 1e-3f;
constexpr int kCoinWidth = 16;
constexpr int kCoinHeight = 14;

class AttributedTextTest : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        data->WriteFixtureFont("nq/data/fonts/fixture");
        data->Write("ui/context_money.png", gametest::SolidPng(kCoinWidth, kCoinHeight, 0xFFFFD700u));
        data->Write("ui/context_gem.png", gametest::SolidPng(6, 6, 0xFF00FF00u));
        coin.reset(StartApplication()->LoadImage(L"ui/context_money.png", nullptr));
        gem.reset(application->LoadImage(L"ui/context_gem.png", nullptr));
        ASSERT_NE(coin, nullptr);
        ASSERT_NE(gem, nullptr);
        font = gametest::LoadFixtureFont(L"nq/data/fonts/fixture", Recorder());
        ASSERT_TRUE(font);
    }
    void TearDown() override
    {
        font.Reset();
        coin.reset();
        gem.reset();
        GameTest::TearDown();
    }

    // The chunks as "I" (picture) and "S:text" (run of text), joined by ' '.
    static std::string Chunks(const AttributedText& text)
    {
        std::string out;
        for (const AttributedChunk* chunk : text.mChunks)
        {
            out += out.empty() ? "" : " ";
            if (auto* s = dynamic_cast<const AttributedStringChunk*>(chunk))
                out += "S:" + std::string(s->mText.begin(), s->mText.end());
            else if (dynamic_cast<const AttributedImageChunk*>(chunk))
                out += "I";
        }
        return out;
    }

    // The width the fixture font gives a text.
    float Measured(const std::wstring& text)
    {
        float width = 0;
        {
            auto record = font->Text(text);
            record->SetWidthOut(&width);
        }
        return width;
    }

    std::unique_ptr<render::Image> coin;
    std::unique_ptr<render::Image> gem;
    AttributedText::FontHandle font;
};

TEST_F(AttributedTextTest, TheTextIsCutAtEveryMappedCharacter)
{
    struct Case
    {
        const wchar_t* text;
        const char* chunks;
    };
    const Case cases[] = {
        {L"", "S:"},          {L"$", "I S:"},          {L"$$", "I I S:"},       {L"$50", "I S:50"},
        {L"a#b", "S:a I S:b"}, {L"a%b", "S:a%b"},       {L"50$", "S:50 I S:"},   {L"$5#", "I S:5 I S:"},
    };
    AttributedText text;
    text.mFont = font;
    text.AddInlineImage(L'$', coin.get());
    text.AddInlineImage(L'#', gem.get());
    for (const Case& c : cases)
    {
        text.SetText(c.text);
        EXPECT_EQ(Chunks(text), c.chunks) << std::string(c.text, c.text + wcslen(c.text));
        EXPECT_EQ(text.mText, c.text);
    }

    // A mapping counts from the next SetText.
    text.SetText(L"a%b");
    text.AddInlineImage(L'%', gem.get());
    EXPECT_EQ(Chunks(text), "S:a%b");
    text.SetText(L"a%b");
    EXPECT_EQ(Chunks(text), "S:a I S:b");
    // A new mapping replaces the old one.
    text.AddInlineImage(L'%', coin.get());
    text.SetText(L"%");
    EXPECT_EQ(static_cast<AttributedImageChunk*>(text.mChunks[0])->mPicture, coin.get());
}

TEST_F(AttributedTextTest, WidthsAreMeasuredOnceWhenTheChunksAreMade)
{
    AttributedText text;
    text.AddInlineImage(L'$', coin.get());
    text.SetText(L"$50");
    // No font yet: the run measures 0.
    EXPECT_EQ(text.GetWidth(), float(kCoinWidth));
    text.mFont = font;
    EXPECT_EQ(text.GetWidth(), float(kCoinWidth));
    text.SetText(L"$50");
    EXPECT_GT(Measured(L"50"), 0.0f);
    EXPECT_EQ(text.GetWidth(), kCoinWidth + Measured(L"50"));

    // A null picture measures 0.
    text.AddInlineImage(L'$', nullptr);
    text.SetText(L"$");
    EXPECT_EQ(text.GetWidth(), 0.0f);
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        math::Transform2D at;
        text.Draw(g, at);
    });
    EXPECT_TRUE(quads.empty());
}

TEST_F(AttributedTextTest, TheRowIsCentredAndEachChunkCentredVertically)
{
    AttributedText text;
    text.mFont = font;
    text.AddInlineImage(L'$', coin.get());
    text.SetText(L"$50");
    const float runWidth = Measured(L"50");
    const float rowWidth = kCoinWidth + runWidth;
    math::Transform2D at;
    at.Translate(500, 300);
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        text.Draw(g, at);
        EXPECT_EQ(g->mFont, font.Get());
    });
    // The coin, then one quad per digit.
    ASSERT_EQ(quads.size(), 3u);
    const float left = 500 - rowWidth / 2;
    EXPECT_EQ(quads[0].texture, gametest::TextureOf(coin.get()));
    EXPECT_NEAR(quads[0].x[0], left, kTolerance);
    EXPECT_NEAR(quads[0].CentreY(), 300, kTolerance);
    EXPECT_NEAR(quads[0].Width(), kCoinWidth, kTolerance);

    // The run starts where the coin ends; its line (height 20) is centred on
    // the row, and the glyphs sit 4 below the line's top, 1 right of the pen.
    EXPECT_NEAR(quads[1].x[0], left + kCoinWidth + 1, kTolerance);
    EXPECT_NEAR(quads[1].y[0], 300 - 10 + 4, kTolerance);
    EXPECT_NEAR(quads[2].x[0], left + kCoinWidth + 1 + gametest::kFixtureGlyphAdvance, kTolerance);
    EXPECT_NE(quads[1].texture, quads[0].texture);
}

TEST_F(AttributedTextTest, WithoutAFontTheContextsFontDraws)
{
    AttributedText text;
    text.SetText(L"50");
    EXPECT_EQ(text.GetWidth(), 0.0f);
    math::Transform2D at;
    at.Translate(100, 100);
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        g->mFont = font.Get();
        text.Draw(g, at);
        EXPECT_EQ(g->mFont, font.Get());
    });
    ASSERT_EQ(quads.size(), 2u);
    // Laid out as a zero-width row: the run starts on the origin.
    EXPECT_NEAR(quads[0].x[0], 100 + 1, kTolerance);
}
} // namespace
