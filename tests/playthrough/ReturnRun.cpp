#include "Runs.h"

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/GameApplication.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Widget/DialogAnimEffects.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDConfirmTutorialCancelDialog.h"
#include "Game/Hud/HUDIngameMenu.h"
#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Hud/NQTutorialStep.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/SliderLayer.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Hud/TutorialButton.h"
#include "Game/Hud/VessikSlider.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"
#include "Platform/D3D9/TestSupport.h"
#include "RunSteps.h"
#include "Targets.h"

#include "Core/Base/TextEncoding.h"

#include <tinyxml2.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace playthrough
{
namespace
{
// The second level: its plate index and its record's "n".
constexpr int kSecondLevel = 1;
// The tutorial's lesson on buying a build spot, the first of the second level.
constexpr int kSpotLessonStep = 5;
// Mixed music louder than this is audible.
constexpr float kAudibleRms = 0.01f;
// The music slider is dragged to this value, and the stored one must lie this near it.
constexpr float kHalfVolume = 0.5f;
constexpr float kVolumeTolerance = 0.05f;
// Half the volume takes the music's RMS well below this share of what it was.
constexpr float kLowerRmsShare = 0.8f;
// Turns the lost device must present nothing, and turns it gets to come back.
constexpr int kLostTurns = 10;
constexpr int kResetTurns = 60;
// Level 2 with nothing built is lost in its fourth wave, about 80 s at double speed.
constexpr int kLossTurns = 120 * kOneSecond;

HUDLevelSelect* LevelSelect() { return dynamic_cast<HUDLevelSelect*>(TopWindow()); }

HUDWindow* ConfirmOverlay()
{
    Game* game = Game::Get();
    return game && game->GetRootBoard() ? game->GetRootBoard()->GetOverlay(GameWindow::kConfirmSlot) : nullptr;
}

uint64_t Presents()
{
    Game* game = Game::Get();
    auto* render = game ? dynamic_cast<render::RenderDX9*>(game->mRender) : nullptr;
    return render && render->GetDevice() ? d3d9test::Counters(render->GetDevice()).presents : 0;
}

// Probes of a layout's root picture, for a screenshot.
std::function<std::vector<Probe>()> PictureProbes(const Driver& driver, std::string image, std::string layer)
{
    return [root = driver.Config().layoutRoot, image, layer] { return LayoutProbes(root, image, layer); };
}

std::string Narrow(const std::wstring& text) { return base::WideToUtf8(text); }

Rect RectOf(const int rect[4]) { return {float(rect[0]), float(rect[1]), float(rect[2]), float(rect[3])}; }

// The level select's back, clear of the plates drawn over it.
std::vector<Probe> LevelSelectProbes(const Driver& driver)
{
    std::vector<Rect> plates;
    if (HUDLevelSelect* select = LevelSelect())
        for (const HUDLevelPlate* plate : select->mPlates)
            plates.push_back(RectOf(plate->mRect));
    return LayoutProbes(driver.Config().layoutRoot, "nq/level_select", "back", plates);
}

// A level's record in profiles.xml: its attributes by name; empty when it has none.
std::map<std::string, std::string> LevelRecord(const std::string& profilesPath, const std::string& profile,
                                               int level)
{
    tinyxml2::XMLDocument document;
    if (document.LoadFile(profilesPath.c_str()) != tinyxml2::XML_SUCCESS)
        return {};
    const tinyxml2::XMLElement* root = document.FirstChildElement("Profiles");
    for (const tinyxml2::XMLElement* p = root ? root->FirstChildElement("Profile") : nullptr; p;
         p = p->NextSiblingElement("Profile"))
    {
        if (!p->Attribute("name", profile.c_str()) || !p->FirstChildElement("levels"))
            continue;
        for (const tinyxml2::XMLElement* e = p->FirstChildElement("levels")->FirstChildElement("level"); e;
             e = e->NextSiblingElement("level"))
        {
            if (e->IntAttribute("n", -1) != level || e->IntAttribute("episode") != 0 || e->IntAttribute("mode") != 0)
                continue;
            std::map<std::string, std::string> attributes;
            for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next())
                attributes[a->Name()] = a->Value();
            return attributes;
        }
    }
    return {};
}

// One element of the current profile in profiles.xml, e.g. "tutorial" or "music".
std::optional<std::string> ProfileAttribute(const std::string& profilesPath, const char* element,
                                            const char* attribute)
{
    tinyxml2::XMLDocument document;
    if (document.LoadFile(profilesPath.c_str()) != tinyxml2::XML_SUCCESS)
        return std::nullopt;
    const tinyxml2::XMLElement* root = document.FirstChildElement("Profiles");
    const char* current = root ? root->Attribute("currentProfile") : nullptr;
    for (const tinyxml2::XMLElement* p = root ? root->FirstChildElement("Profile") : nullptr; current && p;
         p = p->NextSiblingElement("Profile"))
    {
        if (!p->Attribute("name", current))
            continue;
        const tinyxml2::XMLElement* e = p->FirstChildElement(element);
        const char* value = e ? e->Attribute(attribute) : nullptr;
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    return std::nullopt;
}

std::string Describe(const std::map<std::string, std::string>& record)
{
    std::string text;
    for (const auto& [name, value] : record)
        text += (text.empty() ? "" : " ") + name + "=\"" + value + "\"";
    return text.empty() ? "no record" : text;
}

bool MusicStoredAtHalf(const std::string& profilesPath, std::string& why)
{
    const std::optional<std::string> stored = ProfileAttribute(profilesPath, "music", "v");
    if (stored && std::fabs(std::atof(stored->c_str()) - kHalfVolume) <= kVolumeTolerance)
        return true;
    why = "profiles.xml has music v=\"" + stored.value_or("(none)") + "\"";
    return false;
}

void AudibleCheck(Driver& driver, const std::string& name)
{
    driver.GetScript().Check(name, [&driver](std::string& why) {
        if (driver.LastSecondRms() > kAudibleRms)
            return true;
        why = "the last second's RMS is " + std::to_string(driver.LastSecondRms());
        return false;
    });
}

void Greeting(Driver& driver)
{
    driver.WaitTurns("greeting: show effects", kShowEffectTurns);
    driver.GetScript().Check("greeting: the main menu greets Tester", [](std::string& why) {
        const std::wstring greeting = SlotText(TopWindow(), L"greet");
        if (greeting.find(L"Tester") != std::wstring::npos)
            return true;
        why = "the greeting reads '" + Narrow(greeting) + "'";
        return false;
    });
    driver.Screenshot("greeting", PictureProbes(driver, "nq/main_menu", "back"));
    driver.WaitTurns("greeting: music for a second", kOneSecond + kOneSecond / 2);
    AudibleCheck(driver, "greeting: the main-menu music is audible");
}

// Level 1 shows the first run's stars, level 2 is open and level 3 still locked.
bool SavedStarsShown(std::string& why)
{
    HUDLevelSelect* select = LevelSelect();
    if (!select || int(select->mPlates.size()) <= kSecondLevel + 1)
        return why = "no level select with three plates", false;
    const HUDLevelPlate& first = *select->mPlates[0];
    const HUDLevelPlate& second = *select->mPlates[kSecondLevel];
    const HUDLevelPlate& third = *select->mPlates[kSecondLevel + 1];
    if (!first.mComplete || first.mStars != HUDLevelPlate::kMaxStars)
        return why = "level 1 shows " + std::to_string(first.mStars) + " stars", false;
    if (!second.mOpen || second.mComplete || second.mStars != 0)
        return why = "level 2 is not open and incomplete", false;
    if (third.mOpen)
        return why = "level 3 is open", false;
    return true;
}

void SavedProgress(Driver& driver)
{
    GoTo(driver, "saved progress: play", "nq/main_menu", "button/b2_play/pos", screen::kEpisodeSelect);
    GoTo(driver, "saved progress: episode 1", "nq/episode_select", "plates/chapter_01", screen::kLevelSelect);
    driver.GetScript().Check("saved progress: level 1 has the first run's stars, level 2 is open", SavedStarsShown);
    driver.Screenshot("level_select_saved", [&driver] { return LevelSelectProbes(driver); });
}

void TutorialSkipped(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.Click("tutorial: tap level 2", LevelPlate(kSecondLevel));
    driver.WaitState("tutorial: the unlock message opens", screen::kUnlockMessage, 10 * kOneSecond);
    driver.WaitTurns("tutorial: unlock message show effects", kShowEffectTurns);
    driver.ClickLayer("tutorial: close the unlock message", "nq/data/message", "button/ok");
    script.WaitUntil("tutorial: the spot lesson starts", [] {
        const NQTutorial* tutorial = NQTutorial::Find();
        if (!tutorial || !tutorial->mEnabled || !tutorial->mVisible || !tutorial->mSkipButton)
            return false;
        for (const NQTutorialStep* step : tutorial->mSteps)
            if (step->mId == kSpotLessonStep)
                return step->mState == NQTutorialStep::kActive;
        return false;
    });
    // The level's name banner goes first: it is drawn over the confirmation.
    script.WaitUntil("tutorial: the level's banner has gone", [] {
        Game* game = Game::Get();
        return game && game->GetRootBoard() && !game->GetRootBoard()->GetOverlay(GameWindow::kBannerSlot);
    }, 10 * kOneSecond);
    driver.ClickLayer("tutorial: skip", "nq/data/tutorial/skip", "button/b4_normal");
    script.WaitUntil("tutorial: the confirmation opens",
                     [] { return dynamic_cast<HUDConfirmTutorialCancelDialog*>(ConfirmOverlay()) != nullptr; });
    driver.WaitTurns("tutorial: confirmation show effects", kShowEffectTurns);
    driver.Screenshot("tutorial_skip", PictureProbes(driver, "nq/data/mm", "back"));
    driver.ClickLayer("tutorial: ok", "nq/data/mm", "button/b1_ok/pos");
    script.WaitUntil("tutorial: the confirmation closes", [] { return ConfirmOverlay() == nullptr; });
    script.Check("tutorial: disabled and saved", [&driver](std::string& why) {
        const NQTutorial* tutorial = NQTutorial::Find();
        if (tutorial && tutorial->mEnabled)
            return why = "the tutorial is still enabled", false;
        const std::optional<std::string> avail = ProfileAttribute(driver.ProfilesPath(), "tutorial", "avail");
        if (avail != "false")
            return why = "profiles.xml has tutorial avail=\"" + avail.value_or("(none)") + "\"", false;
        return true;
    });
}

// Presses a speed button of the panel until the game runs at `speed`.
void SetSpeed(Driver& driver, const std::string& name, const wchar_t* button, float speed)
{
    driver.TapUntil(name, HudButton(button), [speed] {
        const NQMap* map = Driver::Map();
        return map && map->mSpeed == speed && map->mScreenState == screen::kPlaying;
    });
}

void Play(Driver& driver)
{
    // The skipped lesson had paused the game: it waits for "play".
    driver.GetScript().Check("play: the game waits for play", [](std::string& why) {
        const NQMap* map = Driver::Map();
        if (map && map->mSpeed == 0.0f && map->mHud && map->mHud->mBlockUI == 0)
            return true;
        why = map ? "speed " + std::to_string(map->mSpeed) : "no level";
        return false;
    });
    SetSpeed(driver, "play: play", L"play_btn", 1.0f);
    SetSpeed(driver, "play: speed", L"speed_btn", 2.0f);
    driver.WaitTurns("play: level music for a second", 2 * kOneSecond);
    AudibleCheck(driver, "play: the level music is audible");
}

void IngameMenu(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.Focus("in-game menu: focus lost", false);
    driver.WaitState("in-game menu: the deactivation opens it", screen::kIngameMenu);
    // While the full-screen device is lost nothing is presented.
    auto presents = std::make_shared<uint64_t>(0);
    script.Do("in-game menu: presents so far", [presents] { *presents = Presents(); });
    driver.WaitTurns("in-game menu: the device stays lost", kLostTurns);
    script.Check("in-game menu: frames stopped", [presents](std::string& why) {
        if (Presents() == *presents)
            return true;
        why = std::to_string(Presents() - *presents) + " frames presented on a lost device";
        return false;
    });
    driver.Focus("in-game menu: focus gained", true);
    script.WaitUntil("in-game menu: frames resume", [presents] { return Presents() > *presents; }, kResetTurns);
    driver.WaitTurns("in-game menu: show effects", kShowEffectTurns);
    script.Check("in-game menu: shown", [](std::string& why) {
        if (Driver::ScreenState() == screen::kIngameMenu && dynamic_cast<HUDIngameMenu*>(TopWindow()))
            return true;
        why = "state " + std::to_string(Driver::ScreenState()) + " without the in-game menu on top";
        return false;
    });
    driver.Screenshot("ingame_menu", PictureProbes(driver, "nq/data/ingame", "back"));
    driver.ClickLayer("in-game menu: resume", "nq/data/ingame", "button/b1_resume/pos");
    driver.WaitState("in-game menu: play resumes", screen::kPlaying);
    SetSpeed(driver, "in-game menu: speed again", L"speed_btn", 2.0f);
}

void Loss(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.WaitState("loss: enemies leak until no life is left", screen::kLost, kLossTurns);
    script.WaitUntil("loss: the count-up ends", [] {
        const auto* window = dynamic_cast<HUDLevelResultWindow*>(TopWindow());
        return window && window->mState == HUDLevelResultWindow::kFinished;
    });
    driver.WaitTurns("loss: result window settles", kShowEffectTurns);
    driver.Screenshot("defeat", PictureProbes(driver, "nq/ui_levelresult", "back_lose"));
    script.Check("loss: no life, no star, the defeat's texts", [](std::string& why) {
        const NQMap* map = Driver::Map();
        const HUDWindow* window = TopWindow();
        if (!map || map->mLives > 0.0f)
            return why = "lives left: " + std::to_string(map ? map->mLives : -1.0f), false;
        const std::wstring result = SlotText(window, L"levelResult");
        if (result.empty() || result != LocalStrings::Instance()->Get(L"game_lose"))
            return why = "the result reads '" + Narrow(result) + "'", false;
        for (const wchar_t* slot : {L"killScore", L"lifeBonus", L"totalScore", L"bestScore", L"gems"})
            if (SlotText(window, slot).empty())
                return why = "the " + Narrow(slot) + " slot is empty", false;
        // The defeat's pictures: its back and mark, no label (the text says it), no star.
        for (const NQFrameEntry* image : window->mImages)
        {
            const bool shown = image->mShown != 0;
            const bool wanted = image->mName != L"back_win" && image->mName != L"victory_label" &&
                                image->mName != L"defeat_label" && image->mName != L"diffictly" &&
                                image->mName.rfind(L"star", 0) != 0;
            if (shown != wanted)
                return why = Narrow(image->mName) + (shown ? " is shown" : " is hidden"), false;
        }
        return true;
    });
}

// The shop after the lost level, reached by its "done": no tutorial hint is left over it.
void ShopAfterLoss(Driver& driver)
{
    GoTo(driver, "shop after the loss: done", "nq/ui_levelresult", "button/done", screen::kShop);
    driver.GetScript().Check("shop after the loss: no hint left", [](std::string& why) {
        const NQTutorial* tutorial = NQTutorial::Find();
        if (!tutorial)
            return true;
        if (!tutorial->mHintImages.empty() || !tutorial->mHintTexts.empty())
            return why = "a tutorial hint is shown", false;
        if (tutorial->mSkipButton && tutorial->mSkipButton->GetParent())
            return why = "the tutorial's skip button is on screen", false;
        return true;
    });
    driver.Screenshot("shop_after_loss", PictureProbes(driver, "nq/shop", "back_footer"));
}

// The shop's return plays the lost level again, without announcing its unlocks
// a second time, and it is lost again.
void ReplayAfterShop(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.ClickLayer("replay: the shop's return", "nq/shop", "button/return_ac");
    script.WaitUntil("replay: level 2 starts again", [] {
        const int state = Driver::ScreenState();
        return state == screen::kPlaying || state == screen::kUnlockMessage;
    });
    script.Check("replay: no unlock message again", [](std::string& why) {
        if (Driver::ScreenState() == screen::kPlaying)
            return true;
        why = "the unlock message opened again";
        return false;
    });
    SetSpeed(driver, "replay: speed", L"speed_btn", 2.0f);
    driver.WaitState("replay: lost again", screen::kLost, kLossTurns);
    script.WaitUntil("replay: the count-up ends", [] {
        const auto* window = dynamic_cast<HUDLevelResultWindow*>(TopWindow());
        return window && window->mState == HUDLevelResultWindow::kFinished;
    });
}

void Options(Driver& driver)
{
    Script& script = driver.GetScript();
    GoTo(driver, "options: menu", "nq/ui_levelresult", "button/menu", screen::kLevelSelect);
    GoTo(driver, "options: back to the episodes", "nq/level_select", "button/back", screen::kEpisodeSelect);
    GoTo(driver, "options: back to the main menu", "nq/episode_select", "button/back", screen::kMainMenu);
    // Two seconds, so that the last whole second is the menu's music alone.
    driver.WaitTurns("options: main-menu music", 2 * kOneSecond);
    AudibleCheck(driver, "options: the main-menu music is audible");
    auto loudRms = std::make_shared<float>(0.0f);
    script.Do("options: the music's RMS at full volume", [&driver, loudRms] { *loudRms = driver.LastSecondRms(); });

    driver.ClickLayer("options: options", "nq/main_menu", "button/b1_options/pos");
    // The "pop" transition of data/game.xml plays it in.
    script.WaitUntil("options: the dialog opens with its effects", [] {
        const auto* dialog = ShownDialog<OptionsDialog>();
        const auto* effects = dialog ? dynamic_cast<widget::DialogAnimEffects*>(dialog->mEffects) : nullptr;
        return effects && effects->mState == widget::DialogAnimEffects::kShown;
    });
    driver.Screenshot("options", PictureProbes(driver, "nq/options", "title"));

    // The thumb's place on screen: its holder, moved from the control's own
    // space to the layout's by the bar's offset.
    const std::string layoutRoot = driver.Config().layoutRoot;
    const auto thumbAt = [layoutRoot](std::optional<float> value) -> Target {
        return [layoutRoot, value]() -> std::optional<Point> {
            const auto* dialog = ShownDialog<OptionsDialog>();
            const VessikSlider* slider = dialog ? dialog->mMusicSlider : nullptr;
            const std::optional<Rect> bar = FindLayerRect(ReadLayout(layoutRoot, "nq/options"),
                                                          "main_options/music/music_bar");
            if (!slider || !slider->mBar || !slider->mThumbHolder || !bar)
                return std::nullopt;
            const float toLayout = bar->x - slider->mBar->mPosition.x;
            const float holder = value ? slider->XForValue(*value) : slider->mThumbHolder->mPosition.x;
            return Point{holder + VessikSlider::kThumbOffset + toLayout, bar->y + bar->height / 2.0f};
        };
    };
    driver.Press("options: the music slider's thumb", thumbAt(std::nullopt));
    driver.WaitTurns("options: the thumb held", 2);
    driver.DragTo("options: the music slider to half", thumbAt(kHalfVolume));
    driver.Release("options: the music slider");
    script.Check("options: the music volume is half and stored", [&driver](std::string& why) {
        const float volume = SoundSystem::Instance()->GetMusicVolume();
        if (std::fabs(volume - kHalfVolume) > kVolumeTolerance)
            return why = "the music volume is " + std::to_string(volume), false;
        return MusicStoredAtHalf(driver.ProfilesPath(), why);
    });
    driver.WaitTurns("options: the music at half for a second", 2 * kOneSecond);
    script.Check("options: the music is lower", [&driver, loudRms](std::string& why) {
        const float rms = driver.LastSecondRms();
        std::fprintf(stderr, "playthrough return: the music's RMS went from %.4f to %.4f\n", *loudRms, rms);
        if (rms > kAudibleRms && rms < *loudRms * kLowerRmsShare)
            return true;
        why = "the music's RMS went from " + std::to_string(*loudRms) + " to " + std::to_string(rms);
        return false;
    });

    driver.ClickLayer("options: the window switch", "nq/options", "main_options/window/window_nonselected");
    script.WaitUntil("options: the message box opens", [] {
        const auto* box = ShownDialog<TMessageBox>();
        return box && box->mMessageKey == L"IllegalResolutionMessage";
    });
    driver.WaitTurns("options: message box settles", kShowEffectTurns);
    driver.Screenshot("illegal_resolution", PictureProbes(driver, "nq/data/mm", "back"));
    driver.Click("options: the message box's ok",
                 [] { return std::optional<Point>(Point{TMessageBox::kSingleButtonX, TMessageBox::kButtonY}); });
    script.WaitUntil("options: the message box closes", [] { return ShownDialog<OptionsDialog>() != nullptr; });
    script.Check("options: still full screen", [](std::string& why) {
        framework::GameApplication* application = framework::GameApplication::Current();
        if (application && !application->IsWindowed())
            return true;
        why = "the window mode changed";
        return false;
    });
    driver.ClickLayer("options: ok", "nq/options", "buttons/close/ok_in");
    script.WaitUntil("options: the dialog closes", [] { return TopDialog() == nullptr; });
}

} // namespace

// "return": packed data, the profile the first run saved.
void WriteReturnRun(Driver& driver)
{
    // The first run's record of level 1, which a loss of level 2 must leave alone.
    const std::string profile = ReadCurrentProfile(driver.ProfilesPath());
    const auto firstLevel = std::make_shared<std::map<std::string, std::string>>(
        LevelRecord(driver.ProfilesPath(), profile, 0));

    Start(driver);
    TapThroughSplashAndIntro(driver, "return");
    Greeting(driver);
    SavedProgress(driver);
    TutorialSkipped(driver);
    Play(driver);
    IngameMenu(driver);
    Loss(driver);
    // The loss stores level 2 without stars and leaves level 1's record alone.
    const auto progressKept = [&driver, profile, firstLevel](std::string& why) {
        const auto second = LevelRecord(driver.ProfilesPath(), profile, kSecondLevel);
        const auto first = LevelRecord(driver.ProfilesPath(), profile, 0);
        if (second.count("stars") == 0 || second.at("stars") != "0")
            return why = "level 2's record: " + Describe(second), false;
        if (firstLevel->empty() || first != *firstLevel)
            return why = "level 1's record went from " + Describe(*firstLevel) + " to " + Describe(first), false;
        return true;
    };
    driver.GetScript().Check("loss: level 2 stored without stars, level 1 unchanged", progressKept);
    ShopAfterLoss(driver);
    ReplayAfterShop(driver);
    Options(driver);
    driver.ClickLayer("quit: cloze", "nq/main_menu", "button/b1_cloze/pos");

    driver.AfterExit("the options are saved",
                     [&driver](std::string& why) { return MusicStoredAtHalf(driver.ProfilesPath(), why); });
    driver.AfterExit("the progress is unchanged by the loss", progressKept);
}

} // namespace playthrough
