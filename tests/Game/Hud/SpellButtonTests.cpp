#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace gametest
{
namespace
{
constexpr float kCentreX = 200.0f;
constexpr float kCentreY = 300.0f;
// The fixture fonts' glyph cells: 8 wide on a 256-wide page, from ' ' on.
constexpr float kGlyphU = 8.0f / 256.0f;

class SpellButtonTest : public FrontEndTest
{
protected:
    HUDSpellButton& Make(int slot)
    {
        button = std::make_unique<HUDSpellButton>(slot);
        button->mCenterX = kCentreX;
        button->mCenterY = kCentreY;
        return *button;
    }
    void TearDown() override
    {
        button.reset();
        FrontEndTest::TearDown();
    }
    // The quads of the font's page among those drawn.
    std::vector<RecordedQuad> Glyphs(const std::vector<RecordedQuad>& quads) const
    {
        std::vector<RecordedQuad> glyphs;
        for (const RecordedQuad& q : quads)
            if (q.texture == FontPage(GameWindow::kFontNormal))
                glyphs.push_back(q);
        return glyphs;
    }

    std::unique_ptr<HUDSpellButton> button;
};

TEST_F(SpellButtonTest, CooldownRunsByGameSpeedAndEndsAtExactlyZeroWithOneFlash)
{
    AddSpell(0, 3001, 4.0f);
    HUDSpellButton& b = Make(0);
    b.StartCooldown();
    EXPECT_TRUE(b.IsCooling());
    EXPECT_FLOAT_EQ(b.GetRemaining(), 4.0f);

    struct Step
    {
        float speed, dt, remaining;
        bool cooling;
    };
    const Step steps[] = {
        {0.0f, 1.0f, 4.0f, true}, // paused: held
        {2.0f, 0.5f, 3.0f, true}, // double speed
        {1.0f, 1.0f, 2.0f, true},
        {1.0f, 2.5f, 0.0f, false}, // overshoot
    };
    for (const Step& s : steps)
    {
        Map()->mSpeed = s.speed;
        EXPECT_EQ(b.AcceptsClick(int(kCentreX), int(kCentreY)), false);
        b.Update(s.dt);
        EXPECT_EQ(b.GetRemaining(), s.remaining);
        EXPECT_EQ(b.IsCooling(), s.cooling);
    }
    ASSERT_NE(b.mFlash, nullptr);
    EXPECT_TRUE(b.AcceptsClick(int(kCentreX), int(kCentreY)));
    render::ParticleEmitter* flash = b.mFlash;
    b.Update(0.01f);
    EXPECT_EQ(b.mFlash, flash);
    // The flash plays once and goes.
    for (int i = 0; i < 100 && b.mFlash; ++i)
        b.Update(0.1f);
    EXPECT_EQ(b.mFlash, nullptr);
}

TEST_F(SpellButtonTest, ASpellWithoutPrototypeStartsNoCooldown)
{
    NQSpellEntry* entry = AddSpell(0, 3001, 4.0f);
    entry->protoId = 9999;
    HUDSpellButton& b = Make(0);
    EXPECT_EQ(b.GetSpellId(), 9999);
    EXPECT_EQ(HUDSpellButton(5).GetSpellId(), -1);
    b.StartCooldown();
    EXPECT_FALSE(b.IsCooling());
    EXPECT_EQ(b.GetRemaining(), 0.0f);
}

TEST_F(SpellButtonTest, WithoutTheFlashEffectTheCooldownStillEnds)
{
    TearDown();
    withFlash = false;
    SetUp();
    AddSpell(0, 3001, 1.0f);
    HUDSpellButton& b = Make(0);
    b.StartCooldown();
    b.Update(2.0f);
    EXPECT_FALSE(b.IsCooling());
    EXPECT_EQ(b.mFlash, nullptr);
    Record([&](render::Graphics* g) { b.Draw(g); });
}

TEST_F(SpellButtonTest, TheTowerSpellNeedsATowerOnTheMap)
{
    NQSpellEntry* entry = AddSpell(HUDSpellButton::kTowerSpellSlot, 3005, 4.0f);
    HUDSpellButton& b = Make(HUDSpellButton::kTowerSpellSlot);
    EXPECT_TRUE(b.Contains(int(kCentreX), int(kCentreY)));
    EXPECT_FALSE(b.AcceptsClick(int(kCentreX), int(kCentreY)));
    std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { b.Draw(g); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].texture, TextureOf(entry->secondPicture));

    // Any tower will do; the button only counts them.
    Map()->mTowers.push_back(nullptr);
    EXPECT_TRUE(b.AcceptsClick(int(kCentreX), int(kCentreY)));
    quads = Record([&](render::Graphics* g) { b.Draw(g); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].texture, TextureOf(entry->firstPicture));
    Map()->mTowers.clear();
}

TEST_F(SpellButtonTest, CoolingDrawShowsIconCoverAndTheSecondsLeft)
{
    NQSpellEntry* entry = AddSpell(0, 3001, 4.0f, 70, 70);
    HUDSpellButton& b = Make(0);
    b.StartCooldown();
    struct Case
    {
        float remaining;
        wchar_t digit;
        float coverHeight;
    };
    for (const Case& c : {Case{2.3f, L'3', 70.0f * 2.3f / 4.0f}, Case{0.4f, L'1', 70.0f * 0.4f / 4.0f}})
    {
        b.mTimer = c.remaining;
        const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { b.Draw(g); });
        ASSERT_EQ(quads.size(), 3u);
        EXPECT_EQ(quads[0].texture, TextureOf(entry->firstPicture));
        EXPECT_FLOAT_EQ(quads[0].x[0], kCentreX - 35.0f);
        EXPECT_FLOAT_EQ(quads[0].y[0], kCentreY - 35.0f);
        EXPECT_EQ(quads[1].texture, TextureOf(entry->secondPicture));
        EXPECT_NEAR(quads[1].Height(), c.coverHeight, 1e-3f);
        EXPECT_FLOAT_EQ(quads[1].y[0], kCentreY - 35.0f);
        const std::vector<RecordedQuad> glyphs = Glyphs(quads);
        ASSERT_EQ(glyphs.size(), 1u);
        EXPECT_NEAR(glyphs[0].u[0], float(c.digit - L' ') * kGlyphU, 1e-4f);
        EXPECT_NEAR(glyphs[0].CentreX(), kCentreX, 5.0f);
        EXPECT_NEAR(glyphs[0].CentreY(), kCentreY, 7.0f);
    }
}

TEST_F(SpellButtonTest, CoverStaysInsideItsPictureWhateverTheCooldowns)
{
    NQSpellEntry* entry = AddSpell(0, 3001, 4.0f, 70, 70);
    HUDSpellButton& b = Make(0);
    b.StartCooldown();
    // Lengthened by upgrades beyond the sheet's value: the whole cover, no more.
    b.mTimer = 8.0f;
    std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { b.Draw(g); });
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[1].Height(), 70.0f);
    EXPECT_LE(quads[1].v[2], 1.0f);

    // A spell whose sheet cooldown is 0: no cover at all.
    const NQSpellEntry* noCooldown = AddSpell(1, 3002, 0.0f, 70, 70);
    HUDSpellButton zero(1);
    zero.mPressed = 1;
    zero.mTimer = 2.0f;
    quads = Record([&](render::Graphics* g) { zero.Draw(g); });
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0].texture, TextureOf(noCooldown->firstPicture));
    EXPECT_EQ(quads[1].texture, FontPage(GameWindow::kFontNormal));
    EXPECT_NE(TextureOf(entry->secondPicture), nullptr);

    // A value no int holds shows no number.
    b.mTimer = 3e9f;
    quads = Record([&](render::Graphics* g) { b.Draw(g); });
    EXPECT_TRUE(Glyphs(quads).empty());
}

TEST_F(SpellButtonTest, HitBoxFollowsTheIconAspectWithEdgesInside)
{
    struct Case
    {
        int w, h;
        float halfHeight;
    };
    int proto = 3001;
    for (const Case& c : {Case{140, 70, 17.5f}, Case{70, 70, 35.0f}})
    {
        AddSpell(0, proto++, 4.0f, c.w, c.h);
        HUDSpellButton& b = Make(0);
        const int left = int(kCentreX - 35.0f);
        const int right = int(kCentreX + 35.0f);
        EXPECT_TRUE(b.Contains(left, int(kCentreY)));
        EXPECT_TRUE(b.Contains(right, int(kCentreY)));
        EXPECT_FALSE(b.Contains(left - 1, int(kCentreY)));
        EXPECT_FALSE(b.Contains(right + 1, int(kCentreY)));
        const int top = int(std::ceil(kCentreY - c.halfHeight));
        const int bottom = int(std::floor(kCentreY + c.halfHeight));
        EXPECT_TRUE(b.Contains(int(kCentreX), top));
        EXPECT_TRUE(b.Contains(int(kCentreX), bottom));
        EXPECT_FALSE(b.Contains(int(kCentreX), top - 1));
        EXPECT_FALSE(b.Contains(int(kCentreX), bottom + 1));
        b.OnMouseMove(int(kCentreX), bottom);
        EXPECT_EQ(b.mHovered, 1);
        Map()->mSpellTable->mEntries.front()->slot = 99; // the next case's row comes first
    }
}

TEST_F(SpellButtonTest, AMissingIconCountsAsASquareAndIsNotDrawn)
{
    NQSpellEntry* entry = AddSpell(0, 3001, 4.0f, 140, 70);
    entry->firstPicture->Release();
    delete entry->firstPicture;
    entry->firstPicture = nullptr;
    HUDSpellButton& b = Make(0);
    EXPECT_TRUE(b.Contains(int(kCentreX), int(kCentreY + 35.0f)));
    EXPECT_FALSE(b.Contains(int(kCentreX), int(kCentreY + 36.0f)));
    EXPECT_TRUE(Record([&](render::Graphics* g) { b.Draw(g); }).empty());
    b.StartCooldown();
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { b.Draw(g); });
    // The cover and the number only.
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0].texture, TextureOf(entry->secondPicture));

    // No row at all: a square box, nothing drawn.
    HUDSpellButton none(42);
    none.mCenterX = kCentreX;
    none.mCenterY = kCentreY;
    EXPECT_TRUE(none.Contains(int(kCentreX), int(kCentreY - 35.0f)));
    EXPECT_TRUE(Record([&](render::Graphics* g) { none.Draw(g); }).empty());
}

TEST_F(SpellButtonTest, HoverScaleStaysWithinItsBounds)
{
    AddSpell(0, 3001, 4.0f);
    HUDSpellButton& b = Make(0);
    for (int frame = 0; frame < 200; ++frame)
    {
        b.OnMouseMove(frame % 2 ? int(kCentreX) : 0, frame % 2 ? int(kCentreY) : 0);
        b.Update(frame % 3 ? 0.05f : 0.5f);
        EXPECT_GE(b.mScale, 1.0f);
        EXPECT_LE(b.mScale, 1.1f);
    }
}
} // namespace
} // namespace gametest
