// The level's panel from the built data root on the Direct3D 9 stand-in: a
// spell the player was granted shows its icon in its slot. The HUD draws its
// spell buttons before the panel, so the panel must leave them visible.
#include "BuiltContentFixture.h"
#include "DX9/RenderFixture.h"

#include "Core/Render/ParticleSystem.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
constexpr int kNormalMode = 1;
constexpr int kEpisodes = 3;
constexpr int kLevelsPerEpisode = 6;
// Samples of the icon: its centre and rings inside its round picture.
constexpr float kSampleRadii[] = {0.0f, 12.0f, 24.0f, 33.0f};
constexpr int kSamplesPerRing = 8;
constexpr int kTolerance = 3;
constexpr float kPi = 3.14159265f;

class SpellBarPixelTest : public contenttest::BuiltContentTest
{
protected:
    SpellBarPixelTest() { onDevice = true; }

    void TearDown() override
    {
        hud.reset();
        BuiltContentTest::TearDown();
    }

    // The first level of the content that grants a spell, made current; the
    // spell's HUD slot, or -1 when no level grants one.
    int FirstGrantedSpellSlot()
    {
        for (int episode = 0; episode < kEpisodes; ++episode)
            for (int level = 0; level < kLevelsPerEpisode; ++level)
            {
                map->mEpisode = episode;
                map->mLevel = level;
                for (const NQSpellEntry* entry : map->mSpellTable->mEntries)
                    if (map->mUnlockTable->IsUnlocked(entry->protoId))
                        return entry->slot;
            }
        return -1;
    }

    std::unique_ptr<HUD> hud;
};

TEST_F(SpellBarPixelTest, AGrantedSpellsIconShowsInItsSlotThroughThePanel)
{
    StartBattle(kNormalMode, 0, 0);
    ASSERT_NE(map->mSpellTable, nullptr);
    const int slot = FirstGrantedSpellSlot();
    ASSERT_GE(slot, 0) << "no level of the content grants a spell";
    // The real panel, read from the content's "nq/ui".
    hud = std::make_unique<HUD>();
    ASSERT_FALSE(hud->mImages.empty());
    hud->AddSpellButton(slot);
    ASSERT_EQ(hud->mSpellButtons.size(), 1u);
    const HUDSpellButton& button = *hud->mSpellButtons[0];
    map->mScreenState = screen::kPlaying;

    // The button alone on the ground, then the whole HUD: the icon's pixels stay.
    DrawWith([&](render::Graphics* g) { hud->mSpellButtons[0]->Draw(g); });
    ASSERT_TRUE(ReadFrame());
    const std::vector<uint32_t> alone = pixels;
    DrawWith([&](render::Graphics* g) { hud->Draw(g); });
    ASSERT_TRUE(ReadFrame());

    int icon = 0;
    int shown = 0;
    for (const float radius : kSampleRadii)
        for (int i = 0; i < (radius > 0.0f ? kSamplesPerRing : 1); ++i)
        {
            const float angle = 2.0f * kPi * float(i) / float(kSamplesPerRing);
            const int x = int(std::floor(button.mCenterX + radius * std::cos(angle)));
            const int y = int(std::floor(button.mCenterY + radius * std::sin(angle)));
            const uint32_t mine = alone[size_t(y) * frameWidth + size_t(x)] & 0xFFFFFFu;
            if (rendertest::Near(mine, kGroundColour & 0xFFFFFFu, kTolerance))
                continue; // the icon leaves this sample clear
            ++icon;
            const uint32_t seen = Pixel(float(x), float(y));
            EXPECT_TRUE(rendertest::Near(seen, mine, kTolerance))
                << "at " << x << ", " << y << ": the icon's " << std::hex << mine << ", the HUD shows " << seen;
            shown += rendertest::Near(seen, mine, kTolerance) ? 1 : 0;
        }
    // The icon covers the samples, and all of it shows.
    EXPECT_GE(icon, 3 * kSamplesPerRing);
    EXPECT_EQ(shown, icon);
}
} // namespace
