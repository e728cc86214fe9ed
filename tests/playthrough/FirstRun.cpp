#include "Runs.h"

#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/NQScreenState.h"
#include "RunSteps.h"

#include "Core/Base/TextEncoding.h"

namespace playthrough
{
namespace
{
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

void LevelStart(Driver& driver, int level)
{
    driver.Click("level start: tap the level", LevelPlate(level));
    driver.WaitState("level start: the unlock message opens", screen::kUnlockMessage, 10 * kOneSecond);
    driver.WaitTurns("unlock message: show effects", kShowEffectTurns);
    driver.Screenshot("unlock_message");
}

} // namespace

// "first": loose data, no profile stored yet.
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

} // namespace playthrough
