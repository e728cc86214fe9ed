#pragma once

// The front-end fixture: HUD windows, the HUD and every screen tested
// headless, with their draws recorded as quads.
//
// FrontEndTest makes the real Game current (not started: no window, no
// device) with the quad recorder as its renderer, writes the front-end
// content into the temporary data root, loads a fixture profile and loads a
// root board, so that the six fonts, the running level (Game::GetMap), the
// sound tags and the particle library are the game's own:
// - fonts: the six "nq/data/fonts/..." fonts, each with a page picture of its
//   own ("main_80_0.png" ...), rectangle glyphs for printable ASCII and
//   U+0410 to U+044F; FontPage(GameWindow::kFontLarge) is the texture a
//   quad of that font draws from;
// - strings "nq/strings_en.csv" (game_wave = "Wave", plus kExtraStrings);
// - sound sheet "nq/sounds_sheet.csv" whose "simple" plays a short WAV;
//   Heard(L"simple") counts the plays;
// - particle library "nq/fx/fx2.ptc" with "active", "active_btn" and, unless
//   withFlash is false before SetUp, "blik_6".
// The level's HUD is the real HUD unless recordingHud is set before SetUp.
// Layouts are written by each test (WriteLayout) before the window opens
// them. The level's view is the 1024 x 768 play area (SetView changes it).
// Drive input one event per frame: a window pushed by one event takes part
// from the next HUD::Update on.
#include "GameTestFixture.h"
#include "QuadRecorder.h"
#include "RecordingHud.h"
#include "RecordingTutorial.h"
#include "SoundTagRecorder.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Game;
class GameWindow;
class NQMap;
struct NQSpellEntry;

namespace gametest
{
// Written into the strings file besides the fixture's own rows ("key;text" lines).
std::string FrontEndStrings(const std::string& extraRows = std::string());
// A particle library with "active", "active_btn" and, when asked, "blik_6".
std::string FrontEndEffectsLibrary(bool withFlash);
// The level panel "nq/ui": `pictures` root pictures (indices counting down,
// listed first), the eight speed and option buttons at RecordingHud's
// places, five "spell/sN" slots of 70 x 70 at x = 20 + 100 * N, y = 680, and
// the four counter slots "text/crystals", "text/mana", "text/coins", "text/waves".
std::vector<FixtureLayer> PanelLayers(int pictures = 2);
constexpr float kSpellSlotY = 715.0f;
inline float SpellSlotX(int n) { return 55.0f + 100.0f * float(n); }

// Fonts, strings, sound sheet and particle library; the fonts lack the
// printable ASCII characters listed in missingGlyphs.
void WriteFrontEndContent(const DataRoot& data, bool withFlash = true, const std::string& extraStrings = {},
                          const std::string& missingGlyphs = {});

class FrontEndTest : public GameTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    Game* GetGame() const { return mGame; }
    GameWindow* Board() const { return mBoard; }
    NQMap* Map() const;
    QuadRecorder* Quads() const { return mRecorder; }

    // Writes a layered-image folder.
    void WriteLayout(const std::string& folder, const std::vector<FixtureLayer>& layers) const;
    // The quads drawn by `draw`, in order.
    std::vector<RecordedQuad> Record(const std::function<void(render::Graphics*)>& draw);
    // The page texture of one of the root board's six fonts.
    const render::Texture* FontPage(int font) const;
    // Plays of a sound tag since SetUp (or the last ClearSounds).
    int Heard(const std::wstring& tag) const;
    void ClearSounds();
    void SetView(float x, float y, float width, float height);

    // A spell row of that HUD slot and unit prototype with a cooldown: two
    // pictures "spells/<slot>_<proto>_a.png" (the icon) and "_b.png" (the cover),
    // each w x h; unlocked at the running level when `unlocked` is set.
    NQSpellEntry* AddSpell(int slot, int protoId, float cooldown, int w = 70, int h = 70, bool unlocked = true);

    bool recordingHud = false;
    bool withFlash = true;
    // Runs right before the root board loads (content the load reads).
    std::function<void()> beforeLoad;
    // The splash screens the load opens stay pending (the real HUD only).
    bool keepStartWindows = false;
    // The game's own tutorial, made on first use, instead of the recording one.
    bool realTutorial = false;
    std::string extraStrings;
    // Written into the fixture profile ("<tutorial .../>" and the like).
    std::string profileExtra;
    // ASCII characters no font of the fixture can draw.
    std::string missingGlyphs;
    std::unique_ptr<SoundTagRecorder> sounds;
    // Null with realTutorial.
    RecordingTutorial* tutorial = nullptr;

private:
    hvtest::TempFolder mXdg;
    std::unique_ptr<hvtest::ScopedEnv> mXdgEnv;
    Game* mGame = nullptr;
    GameWindow* mBoard = nullptr;
    QuadRecorder* mRecorder = nullptr;
    std::string mUnlocks;
};
} // namespace gametest
