#pragma once

// The level fixture: a level object built directly and made the running
// level, without a game or a window. The profile store is loaded from a
// fixture "profiles.xml", the audio stand-in mixes only on demand, the HUD
// and the tutorial are the recording doubles, pictures load through the
// small current game application and the particle library is the real one.
#include "CallLog.h"
#include "GameTestFixture.h"
#include "RecordingHud.h"
#include "RecordingTutorial.h"
#include "SoundTagRecorder.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include "Game/Units/EffectList.h"

#include <memory>
#include <string>

class NQMap;

namespace gametest
{
// A particle library in our format with the effects "active" and "active_btn".
std::string ActiveEffectsLibrary();
// "profiles.xml" with one current profile of that mode and gem count; `extra`
// goes inside the profile element.
std::string ProfilesXml(int mode, int gems, const std::string& extra = std::string());

class LevelTest : public GameTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "profiles.xml" and loads the store from it.
    void LoadProfiles(const std::string& xml);
    // Builds the level object, with the effect observer, and makes it the running level.
    NQMap* BuildLevel();
    void DestroyLevel();
    RecordingHud* Hud() const;

    NQMap* map = nullptr;
    RecordingTutorial* tutorial = nullptr;
    std::unique_ptr<SoundTagRecorder> sounds;
    // The HUD the level builds has the eight speed buttons.
    bool hudWithButtons = true;
    // The recording tutorial is installed; without it none exists until first use.
    bool withTutorial = true;
    // Handed to every level built: sees the effects it places.
    EffectObserver effectObserver;

private:
    // The HUD the levels are built with, chosen at set-up.
    LevelHudFactory mMakeHud;
    hvtest::TempFolder mXdg;
    std::unique_ptr<hvtest::ScopedEnv> mXdgEnv;
};
} // namespace gametest
