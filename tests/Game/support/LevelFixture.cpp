#include "LevelFixture.h"

#include "Core/File/Profiles.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Platform/Bass/StandIn.h"

namespace gametest
{
std::string ActiveEffectsLibrary()
{
    return "<particles version=\"1\"><atlas file=\"fx_atlas0.png\"/>"
           "<emitter name=\"active\"><type rate=\"20\"/></emitter>"
           "<emitter name=\"active_btn\"><type rate=\"20\"/></emitter>"
           "</particles>";
}

std::string ProfilesXml(int mode, int gems, const std::string& extra)
{
    return "<Profiles currentProfile=\"Tester\"><Profile name=\"Tester\"><mode v=\"" + std::to_string(mode) +
           "\"/><gems amount=\"" + std::to_string(gems) + "\"/>" + extra + "</Profile></Profiles>";
}

void LevelTest::SetUp()
{
    GameTest::SetUp();
    mXdgEnv = std::make_unique<hvtest::ScopedEnv>("XDG_DATA_HOME", mXdg.Folder().string());
    CallLog().clear();
    // Before the sound system starts: no audio device is opened.
    bass::UseManualOutput();
    sounds = std::make_unique<SoundTagRecorder>();
    const bool withButtons = hudWithButtons;
    game::testing::SetHudFactory([withButtons] { return new RecordingHud(withButtons); });
    if (withTutorial)
        tutorial = RecordingTutorial::Install();
    StartApplication();
    data->Write("nq/fx/fx2.ptc", ActiveEffectsLibrary());
    // The root board loads the library in the game; here the fixture does.
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    particles->mFolder = "nq/fx/";
    particles->Load("fx2.ptc", application->mRender);
}

void LevelTest::TearDown()
{
    DestroyLevel();
    game::testing::SetHudFactory(nullptr);
    sounds.reset();
    tutorial = nullptr;
    GameTest::TearDown();
    mXdgEnv.reset();
}

void LevelTest::LoadProfiles(const std::string& xml)
{
    profiles->WriteFile(xml);
    file::Profiles::Instance()->Load();
}

NQMap* LevelTest::BuildLevel()
{
    DestroyLevel();
    map = new NQMap;
    game::testing::SetRunningMap(map);
    return map;
}

void LevelTest::DestroyLevel()
{
    if (!map)
        return;
    delete map;
    map = nullptr;
    game::testing::SetRunningMap(nullptr);
}

RecordingHud* LevelTest::Hud() const
{
    return map ? static_cast<RecordingHud*>(map->mHud) : nullptr;
}
} // namespace gametest
