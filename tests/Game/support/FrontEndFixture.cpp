#include "FrontEndFixture.h"

#include "AudioFixtures.h"
#include "CallLog.h"
#include "FontFixtures.h"
#include "LevelFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/Profiles.h"
#include "Core/Render/BMFont.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"
#include "Platform/Bass/StandIn.h"

#include <algorithm>

namespace gametest
{
namespace
{
constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 12;
constexpr int kGlyphAdvance = 10;
constexpr int kPageWidth = 256;
constexpr int kPageHeight = 64;
constexpr int kGlyphsPerRow = kPageWidth / kGlyphWidth;
constexpr int kFirstCyrillic = 0x410;
constexpr int kLastCyrillic = 0x44F;
constexpr uint32_t kPlayWidth = 1024;
constexpr uint32_t kPlayHeight = 768;

std::vector<fixtures::FontGlyph> FrontEndGlyphs(const std::string& missing)
{
    std::vector<int> codes;
    for (int c = ' '; c <= '~'; ++c)
        if (missing.find(char(c)) == std::string::npos)
            codes.push_back(c);
    for (int c = kFirstCyrillic; c <= kLastCyrillic; ++c)
        codes.push_back(c);
    std::vector<fixtures::FontGlyph> glyphs;
    for (size_t slot = 0; slot < codes.size(); ++slot)
    {
        const int x = int(slot % kGlyphsPerRow) * kGlyphWidth;
        const int y = int(slot / kGlyphsPerRow) * kGlyphHeight;
        const bool blank = codes[slot] == ' ';
        glyphs.push_back(
            {codes[slot], x, y, blank ? 0 : kGlyphWidth, blank ? 0 : kGlyphHeight, 0, 2, kGlyphAdvance, 0});
    }
    return glyphs;
}

// Each font names its own page file, so that quads tell the fonts apart.
void WriteFont(const DataRoot& data, const std::string& path, const std::string& missing)
{
    const std::vector<fixtures::FontGlyph> glyphs = FrontEndGlyphs(missing);
    const std::string base = path.substr(path.find_last_of('/') + 1);
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    std::string xml = fixtures::MakeFontXml(glyphs, 1, {0});
    const std::string standard = "file=\"page0.png\"";
    xml.replace(xml.find(standard), standard.size(), "file=\"" + base + "_0.png\"");
    data.Write(path + ".fnt", xml);
    const fixtures::Bytes page = fixtures::MakeGlyphPage(kPageWidth, kPageHeight, glyphs, 0);
    data.Write(folder + base + "_0.png", std::string(page.begin(), page.end()));
}

std::string ToNarrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
} // namespace

std::vector<FixtureLayer> PanelLayers(int pictures)
{
    std::vector<FixtureLayer> layers;
    int index = 100;
    for (int i = 0; i < pictures; ++i)
        layers.push_back({"panel" + std::to_string(i), 10 * i, 600, 200, 168, 0xFF102030u + uint32_t(i), --index});
    for (const RecordingHud::ButtonPlace& place : RecordingHud::Buttons())
        layers.push_back({"button/" + ToNarrow(place.name), int(place.rect[0]), int(place.rect[1]), int(place.rect[2]),
                          int(place.rect[3]), 0xFF808080u, ++index});
    for (int n = 0; n < 5; ++n)
        layers.push_back({"spell/s" + std::to_string(n), 20 + 100 * n, 680, 70, 70, 0, ++index, false});
    int row = 0;
    for (const char* slot : {"crystals", "mana", "coins", "waves"})
        layers.push_back({std::string("text/") + slot, 600, 10 + 30 * row++, 150, 24, 0, ++index, false});
    return layers;
}

std::string FrontEndStrings(const std::string& extraRows)
{
    return "game_wave;Wave\n" + extraRows;
}

std::string FrontEndEffectsLibrary(bool withFlash)
{
    std::string xml = "<particles version=\"1\"><atlas file=\"fx_atlas0.png\"/>"
                      "<emitter name=\"active\"><type rate=\"20\"/></emitter>"
                      "<emitter name=\"active_btn\"><type rate=\"20\"/></emitter>";
    if (withFlash)
        xml += "<emitter name=\"blik_6\" interval2=\"3000\"><type burst=\"4\" rate=\"0\" life=\"100\"/></emitter>";
    return xml + "</particles>";
}

void WriteFrontEndContent(const DataRoot& data, bool withFlash, const std::string& extraStrings,
                          const std::string& missingGlyphs)
{
    for (const wchar_t* name : GameWindow::kFontNames)
        WriteFont(data, ToNarrow(name), missingGlyphs);
    data.Write("nq/strings_en.csv", FrontEndStrings(extraStrings));
    audiotest::ToneSpec tone;
    tone.seconds = 0.05;
    data.Write("nq/data/sound/simple.wav", audiotest::WavTone(tone, 16));
    data.Write("nq/sounds_sheet.csv", "simple;simple.wav;1;0;0\n");
    data.Write("nq/fx/fx2.ptc", FrontEndEffectsLibrary(withFlash));
    data.Write("nq/fx/fx_atlas0.png", SolidPng(8, 8, 0xFFFFFFFFu));
}

void FrontEndTest::SetUp()
{
    GameTest::SetUp();
    mXdgEnv = std::make_unique<hvtest::ScopedEnv>("XDG_DATA_HOME", mXdg.Folder().string());
    CallLog().clear();
    // Before the sound system starts: no audio device is opened.
    bass::UseManualOutput();
    sounds = std::make_unique<SoundTagRecorder>();
    if (recordingHud)
        game::testing::SetHudFactory([] { return new RecordingHud(true); });
    else
        game::testing::SetHudFactory(nullptr);
    if (!realTutorial)
        tutorial = RecordingTutorial::Install();
    WriteFrontEndContent(*data, withFlash, extraStrings, missingGlyphs);
    profiles->WriteFile(ProfilesXml(1, 0, profileExtra));
    file::Profiles::Instance()->Load();

    // The game current with the recorder as its renderer; its root board
    // loads the fonts, the particle library and the level.
    mGame = new Game;
    mRecorder = new QuadRecorder;
    mRecorder->Init(kPlayWidth, kPlayHeight);
    mGame->mRender = mRecorder;
    mBoard = new GameWindow;
    mGame->mGameWindow = mBoard;
    if (beforeLoad)
        beforeLoad();
    ASSERT_EQ(mBoard->Load(), HV_OK);
    // The load opens the splash screens; the screens under test start on an empty stack.
    HUD* hud = Map()->mHud;
    if (!keepStartWindows && !recordingHud && hud)
        base::DeleteAll(hud->mPendingWindows);
    SetView(0.0f, 0.0f, 1024.0f, 768.0f);
}

void FrontEndTest::TearDown()
{
    delete mBoard;
    mBoard = nullptr;
    game::testing::SetHudFactory(nullptr);
    sounds.reset();
    tutorial = nullptr;
    mGame = nullptr;
    mRecorder = nullptr;
    // The sprite sets, the game (its renderer with it) and every singleton.
    GameTest::TearDown();
    mXdgEnv.reset();
}

NQMap* FrontEndTest::Map() const { return Game::GetMap(); }

void FrontEndTest::WriteLayout(const std::string& folder, const std::vector<FixtureLayer>& layers) const
{
    data->WriteLayeredImage(folder, layers);
}

std::vector<RecordedQuad> FrontEndTest::Record(const std::function<void(render::Graphics*)>& draw)
{
    return mRecorder->Record(draw);
}

const render::Texture* FrontEndTest::FontPage(int font) const
{
    const auto& handle = mBoard->GetFont(font);
    return handle ? TextureOf(handle->GetPage(0)) : nullptr;
}

int FrontEndTest::Heard(const std::wstring& tag) const
{
    return int(std::count_if(sounds->tags.begin(), sounds->tags.end(),
                             [&](const auto& played) { return played.first == tag; }));
}

void FrontEndTest::ClearSounds() { sounds->tags.clear(); }

void FrontEndTest::SetView(float x, float y, float width, float height)
{
    NQMap* map = Map();
    if (!map)
        return;
    map->mViewportX = x;
    map->mViewportY = y;
    map->mViewportWidth = width;
    map->mViewportHeight = height;
}

NQSpellEntry* FrontEndTest::AddSpell(int slot, int protoId, float cooldown, int w, int h, bool unlocked)
{
    NQMap* map = Map();
    const std::string base = "spells/" + std::to_string(slot) + "_" + std::to_string(protoId);
    data->Write(base + "_a.png", SolidPng(w, h, 0xFF00FF00u));
    data->Write(base + "_b.png", SolidPng(w, h, 0xFF0000FFu));
    auto* entry = new NQSpellEntry;
    entry->slot = slot;
    entry->protoId = protoId;
    entry->firstPicturePath = base + "_a";
    entry->secondPicturePath = base + "_b";
    auto load = [](const std::string& path) { return LoadGamePicture(std::wstring(path.begin(), path.end()), nullptr); };
    entry->firstPicture = load(entry->firstPicturePath);
    entry->secondPicture = load(entry->secondPicturePath);
    map->mSpellTable->mEntries.push_back(entry);

    if (!map->mUnitDatabase)
        map->mUnitDatabase = new NQUnitDatabase(nullptr);
    auto* proto = new NQUnitProto;
    proto->id = protoId;
    proto->cooldown = cooldown;
    map->mUnitDatabase->mProtos.push_back(proto);

    if (unlocked)
    {
        mUnlocks += (mUnlocks.empty() ? "" : ",") + std::to_string(protoId);
        delete map->mUnlockTable;
        map->mUnlockTable = new NQUnlockTable;
        map->mUnlockTable->Build(std::to_string(map->mEpisode) + ";" + std::to_string(map->mLevel) + ";" + mUnlocks +
                                 "\n");
    }
    return entry;
}
} // namespace gametest
