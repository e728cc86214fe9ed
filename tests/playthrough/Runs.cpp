#include "Runs.h"

#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/NQMap.h"
#include "Game/NQScreenState.h"
#include "RunFolder.h"

#include "Core/Base/TextEncoding.h"

#include <tinyxml2.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace playthrough
{
namespace
{
namespace fs = std::filesystem;

// Turns the game gets to load its content and reach the splash screens.
constexpr int kStartTurns = 900;
constexpr const char* kLogEnd = "</body></html>";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HUDWindow* TopWindow()
{
    NQMap* map = Driver::Map();
    return map && map->mHud ? map->mHud->GetTopWindow() : nullptr;
}

// Turns for a screen's show effects to finish before its screenshot.
constexpr int kShowEffectTurns = 20;
constexpr int kOneSecond = 30;
// The intro video plays out within this.
constexpr int kIntroTurns = 60 * kOneSecond;
// Mixed music louder than this is audible.
constexpr float kAudibleRms = 0.01f;

void SplashIntroAndMenu(Driver& driver)
{
    Script& script = driver.GetScript();
    script.WaitUntil("splash: the first logo holds", [] {
        auto* splash = dynamic_cast<NQSplashScreens*>(TopWindow());
        return splash && splash->mCurrent == 0 && !splash->mLogos.empty() &&
               splash->mLogos[0]->phase == NQSplashScreens::Logo::kHold;
    });
    driver.Screenshot("splash");
    driver.WaitState("intro: both logos play out", screen::kIntroVideo, 10 * kOneSecond);
    driver.WaitTurns("intro: the video runs", kOneSecond / 2);
    driver.Screenshot("intro");
    driver.WaitTurns("intro: one second later", kOneSecond);
    driver.Screenshot("intro_later");
    driver.WaitState("main menu: the video ends", screen::kMainMenu, kIntroTurns);
    driver.WaitTurns("main menu: show effects", kShowEffectTurns);
    driver.Screenshot("main_menu", [&driver] { return LayoutProbes(driver.Config().layoutRoot, "nq/main_menu", "back"); });
    driver.WaitTurns("main menu: music for a second", kOneSecond + kOneSecond / 2);
    script.Check("main menu: the music is audible", [&driver](std::string& why) {
        if (driver.LastSecondRms() > kAudibleRms)
            return true;
        why = "the last second's RMS is " + std::to_string(driver.LastSecondRms());
        return false;
    });
}

std::string ReadCurrentProfile(const std::string& path)
{
    tinyxml2::XMLDocument profiles;
    if (profiles.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS || !profiles.FirstChildElement("Profiles"))
        return {};
    const char* current = profiles.FirstChildElement("Profiles")->Attribute("currentProfile");
    return current ? current : "";
}

void ProfileName(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.ClickLayer("profile: play", "nq/main_menu", "button/b2_play/pos");
    driver.WaitState("profile: the name input opens", screen::kNewProfileName);
    // The input comes with a proposed name: a person deletes it first.
    script.Add("profile: clear the proposed name", [&driver, pressed = false]() mutable {
        auto* input = dynamic_cast<HUDModalInput*>(TopWindow());
        if (!input)
            return StepResult::Fail("the name input is not the top window");
        // Ends with the key up: a key left down makes the next press a repeat.
        if (input->mName.empty() && !pressed)
            return StepResult::Done();
        driver.PushKey(SDLK_BACKSPACE, !pressed);
        pressed = !pressed;
        return StepResult::Pending();
    });
    driver.Type("profile: type", "Testr");
    driver.Key("profile: backspace", SDLK_BACKSPACE);
    driver.Type("profile: type", "er");
    script.Check("profile: the input holds Tester", [](std::string& why) {
        auto* input = dynamic_cast<HUDModalInput*>(TopWindow());
        if (input && input->mName == L"Tester")
            return true;
        why = input ? "the input holds " + base::WideToUtf8(input->mName) : "no name input";
        return false;
    });
    driver.Screenshot("name_input");
    driver.ClickLayer("profile: ok", "nq/data/mm", "button/b1_ok/pos");
    driver.WaitState("profile: the episode select opens", screen::kEpisodeSelect);
    script.Check("profile: Tester is the current profile", [&driver](std::string& why) {
        const std::string current = ReadCurrentProfile(driver.ProfilesPath());
        if (current == "Tester")
            return true;
        why = "profiles.xml's current profile is '" + current + "'";
        return false;
    });
}

void EpisodeAndLevelSelect(Driver& driver)
{
    driver.WaitTurns("episode select: show effects", kShowEffectTurns);
    driver.Screenshot("episode_select",
                      [&driver] { return LayoutProbes(driver.Config().layoutRoot, "nq/episode_select", "back"); });
    driver.ClickLayer("episode select: episode 1", "nq/episode_select", "plates/chapter_01");
    driver.WaitState("level select opens", screen::kLevelSelect);
    driver.WaitTurns("level select: show effects", kShowEffectTurns);
    driver.Screenshot("level_select", [&driver] {
        // The level plates are drawn over the back as well.
        std::vector<Rect> plates;
        if (auto* select = dynamic_cast<HUDLevelSelect*>(TopWindow()))
            for (const HUDLevelPlate* plate : select->mPlates)
                plates.push_back({float(plate->mRect[0]), float(plate->mRect[1]), float(plate->mRect[2]),
                                  float(plate->mRect[3])});
        return LayoutProbes(driver.Config().layoutRoot, "nq/level_select", "back", plates);
    });
}

// The centre of a level's plate on the level select.
Target LevelPlate(int level)
{
    return [level]() -> std::optional<Point> {
        auto* select = dynamic_cast<HUDLevelSelect*>(TopWindow());
        if (!select || level >= int(select->mPlates.size()))
            return std::nullopt;
        const HUDLevelPlate* plate = select->mPlates[size_t(level)];
        return Point{float(plate->mRect[0] + plate->mRect[2] / 2), float(plate->mRect[1] + plate->mRect[3] / 2)};
    };
}

void LevelStart(Driver& driver, int level)
{
    driver.Click("level start: tap the level", LevelPlate(level));
    driver.WaitState("level start: the unlock message opens", screen::kUnlockMessage, 10 * kOneSecond);
    driver.WaitTurns("unlock message: show effects", kShowEffectTurns);
    driver.Screenshot("unlock_message");
}

// The middle of the screen: a tap there skips a logo or the video.
Target ScreenCentre()
{
    return [] { return std::optional<Point>(Point{512.0f, 384.0f}); };
}

NQSplashScreens* Splash() { return dynamic_cast<NQSplashScreens*>(TopWindow()); }

void TapThroughSplashAndIntro(Driver& driver)
{
    Script& script = driver.GetScript();
    script.WaitUntil("return: the logos show", [] { return Splash() != nullptr; });
    // The press that ends the logos opens the video, whose release may end it too.
    driver.TapUntil("return: tap through the logos and the intro", ScreenCentre(),
                    [] { return Driver::ScreenState() == screen::kMainMenu; }, 10 * kOneSecond);
}

// The text a window shows in a slot; empty when it has none.
std::wstring SlotText(const HUDWindow* window, const std::wstring& slot)
{
    if (!window)
        return {};
    for (const auto& [name, text] : window->mTexts)
        if (name == slot)
            return text;
    return {};
}

void Greeting(Driver& driver)
{
    driver.WaitTurns("greeting: show effects", kShowEffectTurns);
    driver.GetScript().Check("greeting: the main menu greets Tester", [](std::string& why) {
        const std::wstring greeting = SlotText(TopWindow(), L"greet");
        if (greeting.find(L"Tester") != std::wstring::npos)
            return true;
        why = "the greeting reads '" + base::WideToUtf8(greeting) + "'";
        return false;
    });
    driver.Screenshot("greeting", [&driver] { return LayoutProbes(driver.Config().layoutRoot, "nq/main_menu", "back"); });
}

void Start(Driver& driver)
{
    driver.WaitState("start: the splash screens open", screen::kSplashScreens, kStartTurns);
    driver.GetScript().Check("start: full screen at the display's size", [&driver](std::string& why) {
        const std::optional<DisplayMapping> mapping = driver.Mapping();
        if (!mapping)
            return why = "no display mapping", false;
        // The offscreen driver's one display is the logical size: logical = window.
        const Point corner = ToWindow(*mapping, {1024.0f, 768.0f});
        if (std::abs(corner.x - 1024.0f) > 0.5f || std::abs(corner.y - 768.0f) > 0.5f)
            return why = "the logical corner maps to " + std::to_string(corner.x) + ", " + std::to_string(corner.y),
                   false;
        return true;
    });
}
} // namespace

// The screens after the splash screens (intro video, menus, level select,
// the level's front end, result window and shop) are not in the program
// yet; each run goes as far as the program does and closes its window.
void WriteFirstRun(Driver& driver)
{
    Start(driver);
    SplashIntroAndMenu(driver);
    ProfileName(driver);
    EpisodeAndLevelSelect(driver);
    LevelStart(driver, 0);
    driver.NotPlayed("the tutorial's first tower, more towers, the gem, the upgrade, the battle, the win, the "
                     "result window, the level select after the win, the shop, quit through the menu");
    driver.CloseWindow("quit: close the window");
}

void WriteReturnRun(Driver& driver)
{
    Start(driver);
    TapThroughSplashAndIntro(driver);
    Greeting(driver);
    driver.NotPlayed("saved progress on the level select, tutorial skipped, in-game menu through a focus loss, "
                     "the lost level 2, options dialog");
    driver.ClickLayer("quit: cloze", "nq/main_menu", "button/b1_cloze/pos");
}

void AddAfterExitChecks(Driver& driver, bool packed)
{
    driver.AfterExit("profiles.xml parses", [&driver](std::string& why) {
        tinyxml2::XMLDocument profiles;
        if (profiles.LoadFile(driver.ProfilesPath().c_str()) != tinyxml2::XML_SUCCESS ||
            !profiles.FirstChildElement("Profiles"))
            return why = driver.ProfilesPath() + " is missing or does not parse", false;
        return true;
    });
    driver.AfterExit("no temporary profile left", [&driver](std::string& why) {
        if (fs::exists(driver.ProfilesPath() + ".tmp"))
            return why = "profiles.xml.tmp is left", false;
        return true;
    });
    driver.AfterExit("the log is closed", [&driver](std::string& why) {
        const std::string log = ReadFile(driver.LogPath());
        const std::string end = kLogEnd;
        if (log.size() < end.size() || log.compare(log.size() - end.size(), end.size(), end) != 0)
            return why = "log.html does not end with " + end, false;
        return true;
    });
    if (packed)
    {
        driver.AfterExit("no strings file made", [&driver](std::string& why) {
            // The program appends to an existing loose strings file only.
            if (fs::exists(fs::path(driver.Config().dataRoot) / kStringsFile))
                return why = "the packed root has a loose strings file", false;
            return true;
        });
        return;
    }
    driver.AfterExit("strings file unchanged", [&driver](std::string& why) {
        if (ReadFile(fs::path(driver.Config().dataRoot) / kStringsFile) !=
            ReadFile(fs::path(driver.Config().sourceRoot) / kStringsFile))
            return why = "lines were appended to the strings file (keys missing)", false;
        return true;
    });
}
} // namespace playthrough
