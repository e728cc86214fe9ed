#include "Runs.h"

#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"
#include "RunSteps.h"
#include "Targets.h"

#include <tinyxml2.h>

#include <string>

namespace playthrough
{
namespace
{
// The level plate the run plays: the first level that grants a spell.
constexpr int kSpellLevel = 2;
// The level before it, which the prepared profile has won.
constexpr int kLevelBefore = kSpellLevel - 1;
constexpr int kStarsWon = 1;
// A tap this far into the main menu's profile band.
constexpr int kProfileBandDepth = 20;
// The mode the earlier runs played in.
constexpr int kPlayedMode = 0;

// The granted spell's button, once the level shows one.
const HUDSpellButton* GrantedSpell()
{
    const NQMap* map = Driver::Map();
    if (!map || !map->mHud || map->mHud->mSpellButtons.empty())
        return nullptr;
    return map->mHud->mSpellButtons[0];
}

// Probes of the spell's icon where its button draws it, centred on its slot.
std::vector<Probe> SpellIconProbes(const Driver& driver)
{
    const HUDSpellButton* button = GrantedSpell();
    const NQMap* map = Driver::Map();
    const NQSpellEntry* entry = button && map->mSpellTable ? map->mSpellTable->FindBySlot(button->mSpellSlot) : nullptr;
    static Picture icon;
    std::string path = entry ? entry->firstPicturePath : std::string();
    if (const size_t dot = path.rfind('.'); dot != std::string::npos)
        path.erase(dot);
    if (path.empty() || !LoadContentPicture(driver.Config().layoutRoot + "/" + path, icon))
        return {};
    ProbeSource source;
    source.picture = &icon;
    source.placed = {button->mCenterX - float(icon.width / 2), button->mCenterY - float(icon.height / 2),
                     float(icon.width), float(icon.height)};
    return SelectProbes(source);
}

void ToTheSpellLevel(Driver& driver)
{
    Start(driver);
    TapThroughSplashAndIntro(driver, "spells");
    GoTo(driver, "spells: play", "nq/main_menu", "button/b2_play/pos", screen::kEpisodeSelect);
    GoTo(driver, "spells: episode 1", "nq/episode_select", "plates/chapter_01", screen::kLevelSelect);
    driver.Click("spells: tap level 3", LevelPlate(kSpellLevel));
    driver.WaitState("spells: the unlock message names the spell", screen::kUnlockMessage, 10 * kOneSecond);
    driver.WaitTurns("spells: unlock message show effects", kShowEffectTurns);
    driver.TapUntil("spells: ok until the level plays", WindowButton(L"ok"),
                    [] { return Driver::ScreenState() == screen::kPlaying; });
}

void SpellBar(Driver& driver)
{
    Script& script = driver.GetScript();
    script.Check("spell bar: the granted spell has its button", [](std::string& why) {
        if (GrantedSpell())
            return true;
        why = "the spell bar has no button";
        return false;
    });
    driver.WaitTurns("spell bar: the level settles", kShowEffectTurns);
    driver.Screenshot("spell_bar", [&driver] { return SpellIconProbes(driver); });
}

// Out of the level by the in-game menu to the main menu, then its profile band:
// the profiles screen shows nothing of the level left behind.
void ProfilesAfterLevel(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.Focus("profiles: focus lost", false);
    driver.WaitState("profiles: the in-game menu opens", screen::kIngameMenu);
    driver.Focus("profiles: focus gained", true);
    driver.WaitTurns("profiles: in-game menu show effects", kShowEffectTurns);
    driver.ClickLayer("profiles: to the main menu", "nq/data/ingame", "button/b1_mmenu/pos");
    script.WaitUntil("profiles: the question opens", [] { return ShownDialog<TMessageBox>() != nullptr; });
    driver.Click("profiles: yes", [] {
        return std::optional<Point>(Point{TMessageBox::kConfirmButtonX, TMessageBox::kButtonY});
    });
    driver.WaitState("profiles: the main menu", screen::kMainMenu);
    driver.WaitTurns("profiles: main menu show effects", kShowEffectTurns);
    driver.Click("profiles: the profile band", [] {
        return std::optional<Point>(Point{512.0f, float(HUDMainMenu::kProfileAreaTop + kProfileBandDepth)});
    });
    driver.WaitState("profiles: the screen opens", screen::kProfiles);
    driver.WaitTurns("profiles: show effects", kShowEffectTurns);
    driver.Screenshot("profiles_after_level", [root = driver.Config().layoutRoot] {
        return LayoutProbes(root, "nq/data/profiles", "back");
    });
}
} // namespace

bool PrepareSpellRun(const std::string& profilesPath, std::string& error)
{
    tinyxml2::XMLDocument document;
    if (document.LoadFile(profilesPath.c_str()) != tinyxml2::XML_SUCCESS)
        return error = "cannot read " + profilesPath, false;
    tinyxml2::XMLElement* top = document.FirstChildElement("Profiles");
    const char* current = top ? top->Attribute("currentProfile") : nullptr;
    tinyxml2::XMLElement* profile = top ? top->FirstChildElement("Profile") : nullptr;
    while (profile && current && !profile->Attribute("name", current))
        profile = profile->NextSiblingElement("Profile");
    tinyxml2::XMLElement* levels = profile ? profile->FirstChildElement("levels") : nullptr;
    if (!levels)
        return error = "no current profile with levels in " + profilesPath, false;
    // The level before the spell's, won: the level select opens the spell's level.
    tinyxml2::XMLElement* won = levels->FirstChildElement("level");
    while (won && !(won->IntAttribute("n", -1) == kLevelBefore && won->IntAttribute("episode", -1) == 0 &&
                    won->IntAttribute("mode", -1) == kPlayedMode))
        won = won->NextSiblingElement("level");
    if (!won)
    {
        won = levels->InsertNewChildElement("level");
        won->SetAttribute("n", kLevelBefore);
        won->SetAttribute("episode", 0);
        won->SetAttribute("mode", kPlayedMode);
    }
    won->SetAttribute("stars", kStarsWon);
    if (document.SaveFile(profilesPath.c_str()) != tinyxml2::XML_SUCCESS)
        return error = "cannot write " + profilesPath, false;
    return true;
}

// "spells": loose data, the profile of the earlier runs with level 2 won.
void WriteSpellRun(Driver& driver)
{
    ToTheSpellLevel(driver);
    SpellBar(driver);
    ProfilesAfterLevel(driver);
    driver.CloseWindow("spells: close the window");
}
} // namespace playthrough
