#include "MenuScreensFixture.h"

#include "LevelFileFixtures.h"

#include "Core/File/Profiles.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Framework/GameApplication.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Level/NQMap.h"
#include "LevelFixture.h"
#include "TempProfileStore.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace gametest
{
namespace
{
const char* const kMenuStrings = "greet_1;<\n"
                                 "greet_2;>\n"
                                 "unnamed_player;Stranger\n"
                                 "b2_play;Play\nb1_options;Options\nb1_shop;Shop\nb1_cloze;Quit\n"
                                 "profile_corrupt;Damaged\nprofile_save_failed;Not saved\nb1_ok;OK\n"
                                 "profiles_caption;Players\nprofiles_select;Pick one\nempty_profile;-\n"
                                 "b1_create;Create\nb1_rename;Rename\nb1_delete;Delete\nb1_confirm;Done\nb1_back;Back\n"
                                 "profiles_error;Error\nprofiles_maxcount;Too many\n"
                                 "episodes_caption;Episodes\nunlockEpisodeText;Need %d stars\ncomingSoon;Soon\n"
                                 "episodeSelectNew;New\n"
                                 "episode0;Forest\nepisode1;Hills\nepisode2;Coast\n"
                                 "episodeHardcore0;Forest HC\nepisodeHardcore1;Hills HC\nepisodeHardcore2;Coast HC\n"
                                 "level_tab_0;Easy\nlevel_tab_1;Normal\nlevel_tab_2;Hard\n"
                                 "HardcoreTitle;Hardcore\nHardcoreDescMessage;Explained\n"
                                 "HardcoreUnlockMessage;Locked\n"
                                 "profile_reset_caption;Reset\nprofile_reset_message;Sure?\n";

void AddOverButton(std::vector<FixtureLayer>& layers, const std::string& folder, int x, int y, int w, int h)
{
    layers.push_back({"button/" + folder + "/pos", x, y, w, h, 0, -1, false});
    layers.push_back({"button/" + folder + "/label", x, y, w, h, 0, -1, false});
}

void AddOverPictures(std::vector<FixtureLayer>& layers)
{
    layers.push_back({"button/b1_normal", 0, 0, 20, 20, 0xFF00FF00u});
    layers.push_back({"button/b1_over", 0, 0, 20, 20, 0xFFFF0000u});
    layers.push_back({"button/b2_normal", 0, 0, 20, 20, 0xFF0000FFu});
    layers.push_back({"button/b2_over", 0, 0, 20, 20, 0xFF00FFFFu});
}
} // namespace

std::vector<FixtureLayer> MainMenuLayers()
{
    std::vector<FixtureLayer> layers = {
        {"ru", 0, 0, 10, 10, 0xFF800000u},
        {"en", 10, 0, 10, 10, 0xFF008000u},
        {"text/greet", 300, 40, 400, 40, 0, -1, false},
    };
    AddOverPictures(layers);
    AddOverButton(layers, "b2_play", 400, 300, 200, 80);
    AddOverButton(layers, "b1_options", 400, 400, 200, 60);
    AddOverButton(layers, "b1_shop", 400, 480, 200, 60);
    // Reaches into the profile band on purpose: the band wins.
    AddOverButton(layers, "b1_cloze", 400, 680, 200, 60);
    return layers;
}

std::vector<FixtureLayer> ProfilesLayers()
{
    std::vector<FixtureLayer> layers = {
        {"text/caption", 300, 20, 400, 40, 0, -1, false},
        {"text/header", 300, 70, 400, 30, 0, -1, false},
        {"text/select", 300, 600, 400, 30, 0, -1, false},
    };
    for (int k = 1; k <= 5; ++k)
        layers.push_back({"text/profile" + std::to_string(k), 300, 100 + 60 * k, 400, 50, 0, -1, false});
    AddOverPictures(layers);
    AddOverButton(layers, "b1_create", 750, 160, 150, 50);
    AddOverButton(layers, "b1_rename", 750, 220, 150, 50);
    AddOverButton(layers, "b1_delete", 750, 280, 150, 50);
    AddOverButton(layers, "b1_confirm", 750, 640, 150, 50);
    AddOverButton(layers, "b1_back", 50, 640, 150, 50);
    // Each row button over its row's slot.
    for (int k = 1; k <= 5; ++k)
        AddOverButton(layers, "b1_p" + std::to_string(k), 300, 100 + 60 * k, 400, 50);
    return layers;
}

std::vector<FixtureLayer> EpisodeSelectLayers(int chapters, int missingChapter)
{
    std::vector<FixtureLayer> layers = {
        {"background", 0, 0, 16, 16, 0xFF202020u},
        {"button/play", 450, 600, 120, 60, 0xFF00FF00u},
        {"button/arrow_left", 60, 350, 60, 60, 0xFF0000FFu},
        {"button/arrow_right", 900, 350, 60, 60, 0xFF0000FFu},
        {"button/back", 20, 690, 100, 60, 0xFFFF0000u},
        {"button/shop", 900, 690, 100, 60, 0xFFFFFF00u},
        {"text/levelName", 300, 100, 400, 50, 0, -1, false},
        {"text/caption", 300, 20, 400, 50, 0, -1, false},
        {"text/stars", 800, 20, 200, 40, 0, -1, false},
        {"plates/lock", 0, 0, 40, 40, 0xFF808080u},
        {"plates/new", 0, 0, 30, 20, 0xFFFFFF00u},
    };
    for (int n = 1; n <= chapters; ++n)
    {
        if (n != missingChapter)
            layers.push_back({"plates/chapter_0" + std::to_string(n), 323, 201, 200, 200, 0xFF0000FFu + uint32_t(n)});
    }
    return layers;
}

std::vector<FixtureLayer> LevelSelectLayers()
{
    return {
        {"background", 0, 0, 16, 16, 0xFF202020u},
        {"skulls", 20, 20, 16, 16, 0xFF404040u},
        {"button/back", 20, 690, 100, 60, 0xFFFF0000u},
        {"button/upgrade", 900, 690, 100, 60, 0xFFFFFF00u},
        {"button/locked_d", 0, 0, 100, 80, 0xFF808080u},
        {"button/unlocked_d", 0, 0, 100, 80, 0xFF80FF80u},
        {"text/gems", 800, 20, 200, 40, 0, -1, false},
        {"text/episode", 312, 100, 400, 60, 0, -1, false},
        {"plate/super", 0, 0, 100, 100, 0xFFFFD700u},
        {"plate/complete", 0, 0, 100, 100, 0xFF00C000u},
        {"plate/incomplete", 0, 0, 100, 100, 0xFF0000C0u},
        {"plate/locked", 0, 0, 100, 100, 0xFF404040u},
        {"plate/new", 0, 0, 40, 20, 0xFFFFFF00u},
        {"stars_plate/plate", 0, 0, 96, 30, 0xFF202080u},
        {"stars_plate/star", 0, 0, 30, 30, 0xFFFFFF00u},
        {"tabs/up_button_ac", 100, 640, 200, 60, 0xFFFFFFFFu},
        {"tabs/up_button_in", 100, 650, 180, 50, 0xFFC0C0C0u},
    };
}

std::vector<FixtureLayer> MenuModalLayers()
{
    std::vector<FixtureLayer> layers = {
        {"back", 250, 150, 524, 400, 0xFF303030u},
        {"input", 300, 200, 400, 60, 0xFF505050u},
        {"text/message", 300, 220, 400, 60, 0, -1, false},
    };
    AddOverPictures(layers);
    AddOverButton(layers, "b1_cancel", 100, 300, 160, 80);
    AddOverButton(layers, "b1_ok", 420, 300, 160, 80);
    return layers;
}

std::string MenuEffectsLibrary(const std::string& missing)
{
    std::string xml = "<particles version=\"1\"><atlas file=\"fx_atlas0.png\"/>";
    for (const char* name : {"fog_01", "blik_1", "blik_2", "blik_4", "active_lvl"})
    {
        if (name != missing)
            xml += std::string("<emitter name=\"") + name + "\"><type rate=\"20\"/></emitter>";
    }
    return xml + "</particles>";
}

void MenuScreensTest::SetUp()
{
    extraStrings += kMenuStrings;
    FrontEndTest::SetUp();
    if (HasFatalFailure())
        return;
    WriteLayout("nq/main_menu", MainMenuLayers());
    WriteLayout("nq/data/profiles", ProfilesLayers());
    WriteLayout("nq/episode_select", EpisodeSelectLayers(3));
    WriteLayout("nq/level_select", LevelSelectLayers());
    WriteLayout("nq/data/mm", MenuModalLayers());
    // Playable level files: a chosen level is refused without one.
    for (const char* folder : {"nq/levels_normal/", "nq/levels_hardcore/"})
        for (int episode = 1; episode <= 2; ++episode)
            for (int level = 1; level <= 9; ++level)
                data->Write(std::string(folder) + "level_0" + std::to_string(episode) + "_0" + std::to_string(level) +
                                ".xml",
                            ExampleLevelXml());
    LoadEffects();
    Map()->mEpisodeSetup = {{0, {7, 2, 0}}, {1, {9, 0, 10}}, {2, {-1, 0, 0}}};
    framework::GameApplication::Current()->mFrameManager = &frames;
    file::Profiles::sProfilesReset = false;
}

void MenuScreensTest::TearDown()
{
    frames.CloseAll(true, true);
    if (framework::GameApplication* current = framework::GameApplication::Current())
        current->mFrameManager = nullptr;
    file::Profiles::sProfilesReset = false;
    FrontEndTest::TearDown();
}

void MenuScreensTest::LoadEffects(const std::string& missing)
{
    data->Write("nq/fx/menu.ptc", MenuEffectsLibrary(missing));
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    for (const char* name : {"fog_01", "blik_1", "blik_2", "blik_4", "active_lvl"})
    {
        const auto found = particles->mEmitters.find(name);
        if (found == particles->mEmitters.end())
            continue;
        delete found->second;
        particles->mEmitters.erase(found);
    }
    particles->Load("menu.ptc", Quads());
}

HUD* MenuScreensTest::Hud() const { return Map()->mHud; }

HUDWindow* MenuScreensTest::Top() const { return Hud()->GetTopWindow(); }

void MenuScreensTest::Step(float dt) { Hud()->Update(dt); }

void MenuScreensTest::Press(int x, int y)
{
    Map()->OnMouseMove(x, y);
    Map()->OnMouseDown(x, y);
    Step();
}

void MenuScreensTest::Release(int x, int y)
{
    Map()->OnMouseUp(x, y);
    Step();
}

void MenuScreensTest::Tap(int x, int y)
{
    Press(x, y);
    Release(x, y);
}

void MenuScreensTest::SetProfiles(const std::vector<std::string>& names, const std::string& current)
{
    const std::string selected = current.empty() ? "Default" : current;
    std::string xml = "<Profiles currentProfile=\"" + selected + "\"><Profile name=\"Default\"/>";
    for (const std::string& name : names)
        xml += "<Profile name=\"" + name + "\"><mode v=\"1\"/></Profile>";
    profiles->WriteFile(xml + "</Profiles>");
    file::Profiles::Instance()->Load();
    Map()->mProgress->SelectProfile(std::wstring(selected.begin(), selected.end()));
    Map()->mProgress->ReloadProfileNames();
}

void MenuScreensTest::SetStars(int episode, int level, int mode, int stars)
{
    Map()->mProgress->FindOrCreateLevel(episode, level, mode)->SetAttribute("stars", stars);
}
} // namespace gametest
