#pragma once

// The game fixture: the real Game started through the framework's Init on a
// temporary data root with the game's content written by the test, a
// temporary user-data folder, the window on the offscreen driver, the
// monitors supplied, and the HUD, tutorial and sound-tag doubles installed
// before Init.
#include "CallLog.h"
#include "DataRootFixture.h"
#include "RecordingHud.h"
#include "RecordingTutorial.h"
#include "SoundTagRecorder.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/Base/Result.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Game;
class GameWindow;
class NQMap;

namespace gametest
{
// The content the game fixture can write: sides "l" (red) and "r" (blue),
// each 100 x 200; the 1024 x 768 loading picture (green); the mob shader's
// folder; the particle library with "active" and "active_btn".
struct GameContent
{
    bool sides = true;
    bool loading = true;
    bool mobShader = true;
    bool particles = true;
};
constexpr uint32_t kSideLeftColour = 0xFFFF0000u;
constexpr uint32_t kSideRightColour = 0xFF0000FFu;
constexpr uint32_t kLoadingColour = 0xFF00FF00u;
void WriteGameContent(const DataRoot& data, const GameContent& content = GameContent());
// What the game stops without: the strings file, the particle library of
// WriteGameContent, the six fixture fonts and an empty HUD layout, each only
// where the data root has none yet.
void WriteRequiredData(const DataRoot& data);

// One game run; usable outside gtest (the benchmark).
class GameRun
{
public:
    GameRun();
    // Tears the game and every singleton down, then restores the process.
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // One monitor with its work area below a top panel of (height - workHeight).
    static void SupplyMonitor(int width, int height, int workHeight);
    // "profiles.xml" in the game's user-data folder.
    void WriteProfiles(const std::string& xml) const;
    std::string ProfilesText() const;
    bool HasProfiles() const;

    // Makes the game and runs PreInit; the executable folder is the data root.
    Game* Make(const std::vector<std::wstring>& arguments);
    // Make, then Init; by default on the data root. The data the game stops
    // without is written first where missing, unless requiredData is false.
    HVResultEnum Start();
    HVResultEnum Start(const std::vector<std::wstring>& arguments);
    std::vector<std::wstring> DataRootArguments() const;
    // One frame of the framework.
    HVResultEnum Frame();
    // Window updates (each pumps one message and runs a frame or a switch).
    HVResultEnum Pump(int updates);
    // The back buffer as packed ARGB, top row first; empty when unreadable.
    bool ReadBackBuffer();
    // RGB of a pixel of the last read.
    uint32_t Pixel(int x, int y) const;

    GameWindow* Board() const;
    NQMap* Map() const;
    RecordingHud* Hud() const;
    // The whole teardown, now.
    void Teardown();

    std::unique_ptr<DataRoot> data;
    bool requiredData = true;
    // Handed to the game when set: its message boxes.
    app::ApplicationWin32::MessageBoxFunction showMessageBox;
    hvtest::TempFolder user;
    Game* game = nullptr;
    RecordingTutorial* tutorial = nullptr;
    std::unique_ptr<SoundTagRecorder> sounds;
    std::vector<uint32_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;

private:
    std::unique_ptr<hvtest::ScopedEnv> mUserEnv;
    bool mTornDown = false;
};

class GameAppTest : public testing::Test
{
protected:
    void SetUp() override { run = std::make_unique<GameRun>(); }
    void TearDown() override { run.reset(); }

    std::unique_ptr<GameRun> run;
};
} // namespace gametest
