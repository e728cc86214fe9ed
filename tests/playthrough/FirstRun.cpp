#include "Runs.h"

#include "Game/Data/AttributedText.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDShopWindow.h"
#include "Game/Hud/HUDUpgradePlate.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Hud/NQTutorialStep.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQTower.h"
#include "RunSteps.h"
#include "Targets.h"

#include "Core/Base/TextEncoding.h"

#include <tinyxml2.h>

#include <functional>
#include <map>

namespace playthrough
{
namespace
{
// The intro video plays out within this.
constexpr int kIntroTurns = 60 * kOneSecond;
// Mixed music louder than this is audible.
constexpr float kAudibleRms = 0.01f;

// The tutorial's spot, as the level file puts it.
constexpr int kFirstSpot = 0;
constexpr float kFirstSpotX = 896.0f;
constexpr float kFirstSpotY = 563.0f;
// Further towers, in building order: the spots along the road's middle.
// The start's gold pays for the first ones at once; the gem comes next,
// before it collects itself; the rest are built as the gold comes in.
const std::vector<int> kSpotsAtOnce = {3, 2};
const std::vector<int> kSpotsLater = {10};
constexpr int32_t kTowerId = 10000;
// Whatever the build ring offers first.
constexpr int32_t kFirstChoice = 0;
constexpr float kTowerPrice = 70.0f;
constexpr int32_t kUpgradeId = 10001;
// The ring's sell item.
constexpr int32_t kSellKey = 0;
// The ring's tower pictures of the dart line, by prototype id.
const std::map<int32_t, std::string> kRingIconFrames = {
    {10000, "ui/tower_01"}, {10001, "ui/tower_01"}, {10002, "ui/tower_01"},
    {10100, "ui/tower_03"}, {10200, "ui/tower_02"},
};
// The tutorial's step that pauses for the upgrade.
constexpr int kUpgradeStep = 4;
// The tutorial's gem lies here for the player to tap.
constexpr Point kGemPlace = {200.0f, 200.0f};
constexpr const char* kProfileName = "Tester";
// The tutorial steps of the first level, stored done.
constexpr int kFirstLevelSteps[] = {0, 1, 2, 3, 4, 8};
constexpr int kStepDone = 2;
// Waits within the battle.
constexpr int kGoldWaitTurns = 60 * kOneSecond;
constexpr int kBattleTurns = 120 * kOneSecond;
constexpr int kCountUpTurns = 20 * kOneSecond;

std::vector<Probe> LevelSelectProbes(Driver& driver)
{
    // The level plates are drawn over the back as well.
    std::vector<Rect> plates;
    if (auto* select = dynamic_cast<HUDLevelSelect*>(TopWindow()))
        for (const HUDLevelPlate* plate : select->mPlates)
            plates.push_back(
                {float(plate->mRect[0]), float(plate->mRect[1]), float(plate->mRect[2]), float(plate->mRect[3])});
    return LayoutProbes(driver.Config().layoutRoot, "nq/level_select", "back", plates);
}

// Tester's profile as profiles.xml holds it; empty fields when it is missing.
struct SavedProfile
{
    bool found = false;
    int gems = -1;
    // Level 0 of episode 0, normal mode; -1 without a record.
    int firstLevelStars = -1;
    std::map<int, int> tutorialSteps;
    std::map<int, int> upgrades;
};

SavedProfile ReadProfile(const std::string& path)
{
    SavedProfile saved;
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLElement* top =
        document.LoadFile(path.c_str()) == tinyxml2::XML_SUCCESS ? document.FirstChildElement("Profiles") : nullptr;
    const tinyxml2::XMLElement* profile = top ? top->FirstChildElement("Profile") : nullptr;
    while (profile && std::string(profile->Attribute("name") ? profile->Attribute("name") : "") != kProfileName)
        profile = profile->NextSiblingElement("Profile");
    if (!profile)
        return saved;
    saved.found = true;
    if (const tinyxml2::XMLElement* gems = profile->FirstChildElement("gems"))
        saved.gems = gems->IntAttribute("amount", -1);
    if (const tinyxml2::XMLElement* levels = profile->FirstChildElement("levels"))
        for (auto* level = levels->FirstChildElement("level"); level; level = level->NextSiblingElement("level"))
            if (level->IntAttribute("n", -1) == 0 && level->IntAttribute("episode", -1) == 0 &&
                level->IntAttribute("mode", -1) == 0)
                saved.firstLevelStars = level->IntAttribute("stars", 0);
    if (const tinyxml2::XMLElement* tutorial = profile->FirstChildElement("tutorial"))
        for (auto* step = tutorial->FirstChildElement("step"); step; step = step->NextSiblingElement("step"))
            saved.tutorialSteps[step->IntAttribute("id", -1)] = step->IntAttribute("state", -1);
    if (const tinyxml2::XMLElement* upgrades = profile->FirstChildElement("upgrades"))
        for (auto* upgrade = upgrades->FirstChildElement("upgrade"); upgrade;
             upgrade = upgrade->NextSiblingElement("upgrade"))
            saved.upgrades[upgrade->IntAttribute("id", -1)] = upgrade->IntAttribute("level", -1);
    return saved;
}

// The result window of a won level: its back, clear of everything drawn over
// it but the pictures of a lost level, which it hides.
std::vector<Probe> WonResultProbes(const std::string& root)
{
    const std::string image = "nq/ui_levelresult";
    const std::vector<LayoutLayer> layers = ReadLayout(root, image);
    Picture back;
    if (layers.empty() || !LoadContentPicture(root + "/" + image + "/back_win", back))
        return {};
    ProbeSource source;
    source.picture = &back;
    bool below = true;
    for (const LayoutLayer& layer : layers)
    {
        if (layer.name == "back_win")
        {
            source.placed = layer.rect;
            below = false;
        }
        else if (!below && layer.name.find("lose") == std::string::npos && layer.name != "defeat_label")
            source.covers.push_back(layer.rect);
    }
    return SelectProbes(source);
}

// The last second of the mix is louder than silence; with `track`, that is
// the music started last.
void CheckMusicAudible(Driver& driver, const std::string& name, const std::wstring& track = {})
{
    driver.GetScript().Check(name, [&driver, track](std::string& why) {
        const std::vector<std::wstring>& music = driver.MusicStarted();
        if (!track.empty() && (music.empty() || music.back() != track))
            return why = "the last music started is not " + base::WideToUtf8(track), false;
        if (driver.LastSecondRms() > kAudibleRms)
            return true;
        why = "the last second's RMS is " + std::to_string(driver.LastSecondRms());
        return false;
    });
}

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
    CheckMusicAudible(driver, "main menu: the music is audible");
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
    driver.Screenshot("level_select", [&driver] { return LevelSelectProbes(driver); });
}

void LevelStart(Driver& driver, int level)
{
    driver.Click("level start: tap the level", LevelPlate(level));
    driver.WaitState("level start: the unlock message opens", screen::kUnlockMessage, 10 * kOneSecond);
    driver.WaitTurns("unlock message: show effects", kShowEffectTurns);
    driver.Screenshot("unlock_message");
}

// What the run learns on its way and checks later.
struct Ledger
{
    int32_t spent = 0;
    int32_t gold = 0;
    int32_t gems = 0;
    int32_t buildKey = 0;
    float buildPrice = 0.0f;
    int32_t upgradeId = -1;
    int32_t upgradeLevel = -1;
};
Ledger sLedger;

NQLevelEconomy* Economy()
{
    NQMap* map = Driver::Map();
    return map ? map->mEconomy : nullptr;
}

const NQTutorialStep* TutorialStep(int id)
{
    const NQTutorial* tutorial = NQTutorial::Find();
    if (!tutorial)
        return nullptr;
    for (const NQTutorialStep* step : tutorial->mSteps)
        if (step->mId == id)
            return step;
    return nullptr;
}

bool StepActive(int id)
{
    const NQTutorialStep* step = TutorialStep(id);
    return step && step->mState == NQTutorialStep::kActive;
}

float Speed()
{
    const NQMap* map = Driver::Map();
    return map ? map->mSpeed : -1.0f;
}

bool RingFullyOpen(int32_t kind)
{
    const NQMap* map = Driver::Map();
    return RingOpen() && map->mContextMenu->mKind == kind && map->mContextMenu->mState == NQContextMenu::kOpen;
}

std::vector<Probe> MapProbes(Driver& driver) { return LevelProbes(driver.Config().layoutRoot); }

// Taps the spot, waits for the build ring (then adds `whileOpen`'s steps),
// and builds the tower `key` (kFirstChoice: the ring's first); checks the
// price paid and the tower standing.
void BuildTower(Driver& driver, const std::string& name, int spot, int32_t key,
                const std::function<void()>& whileOpen = {})
{
    Script& script = driver.GetScript();
    driver.Click(name + ": tap the spot", Spot(spot));
    script.WaitUntil(name + ": the build ring opens", [] { return RingFullyOpen(NQContextMenu::kBuildRing); });
    if (whileOpen)
        whileOpen();
    script.Check(name + ": the ring offers the tower", [key](std::string& why) {
        const NQContextMenu* ring = Driver::Map()->mContextMenu;
        const NQContextMenuItem* item =
            key != kFirstChoice ? FindRingItem(key) : (ring->mItems.empty() ? nullptr : ring->mItems[0]);
        if (!item)
            return why = "the ring has no item " + std::to_string(key), false;
        sLedger.buildKey = item->mKey;
        sLedger.buildPrice = item->mPrice;
        sLedger.spent = Economy()->mSpentGold;
        sLedger.gold = Economy()->mGold;
        return true;
    });
    driver.Click(name + ": choose the tower", [] { return RingItem(sLedger.buildKey)(); });
    script.Check(name + ": price paid, tower standing", [spot](std::string& why) {
        const int32_t paid = Economy()->mSpentGold - sLedger.spent;
        if (paid != int32_t(sLedger.buildPrice))
            return why = "paid " + std::to_string(paid) + " for a tower of " + std::to_string(sLedger.buildPrice),
                   false;
        const NQTower* tower = FindTowerOnSpot(spot);
        const NQUnitProto* proto = tower ? tower->GetProto(-1) : nullptr;
        if (!proto || proto->id != sLedger.buildKey)
            return why = "no tower " + std::to_string(sLedger.buildKey) + " on spot " + std::to_string(spot), false;
        return true;
    });
}

void PressSpeed(Driver& driver, const std::string& name)
{
    driver.Click(name + ": speed", HudButton(L"speed_btn"));
    driver.GetScript().WaitUntil(name + ": speed 2", [] { return Speed() == 2.0f; });
}

void UnlockOk(Driver& driver)
{
    Script& script = driver.GetScript();
    // One "ok" per thing the level makes available.
    driver.TapUntil("unlock message: ok until the level plays", WindowButton(L"ok"),
                    [] { return Driver::ScreenState() == screen::kPlaying; });
    script.WaitUntil("tutorial: the first step shows its hint", [] { return StepActive(0); });
    driver.WaitTurns("tutorial: the hint's show effects", kShowEffectTurns);
    driver.Screenshot("tutorial_hint", [&driver] { return MapProbes(driver); });
    script.Check("tutorial: the game waits on spot #0", [](std::string& why) {
        const NQMap* map = Driver::Map();
        Point centre;
        if (map->mTutorialSpotFilter != kFirstSpot || !SpotCentre(kFirstSpot, centre) ||
            centre.x != kFirstSpotX || centre.y != kFirstSpotY)
            return why = "the spot filter is " + std::to_string(map->mTutorialSpotFilter), false;
        if (map->mSpeed != 0.0f)
            return why = "the speed is " + std::to_string(map->mSpeed), false;
        return true;
    });
    driver.Click("tutorial: another spot", Spot(kFirstSpot + 1));
    driver.WaitTurns("tutorial: another spot: a ring would open", kShowEffectTurns);
    script.Check("tutorial: another spot does not react", [](std::string& why) {
        if (!RingOpen())
            return true;
        why = "a ring opened";
        return false;
    });
}

void FirstTower(Driver& driver)
{
    Script& script = driver.GetScript();
    BuildTower(driver, "first tower", kFirstSpot, kFirstChoice, [&driver] {
        driver.WaitTurns("first tower: the ring's effects", kShowEffectTurns);
        driver.Screenshot("build_ring", [&driver] { return MapProbes(driver); });
    });
    script.Check("first tower: gold fell by its price", [](std::string& why) {
        // The game is paused: nothing else moves the gold.
        const int32_t fell = sLedger.gold - Economy()->mGold;
        if (fell == int32_t(sLedger.buildPrice))
            return true;
        why = "gold fell by " + std::to_string(fell) + ", the price is " + std::to_string(sLedger.buildPrice);
        return false;
    });
    driver.Click("first tower: play", HudButton(L"play_btn"));
    script.WaitUntil("first tower: the game runs", [] { return Speed() == 1.0f; });
    PressSpeed(driver, "first tower");
}

void MoreTowers(Driver& driver, const std::vector<int>& spots)
{
    for (int spot : spots)
    {
        const std::string name = "tower on spot " + std::to_string(spot);
        driver.GetScript().WaitUntil(name + ": gold for it", [] {
            const NQLevelEconomy* economy = Economy();
            return economy && float(economy->mGold) >= kTowerPrice;
        }, kGoldWaitTurns);
        BuildTower(driver, name, spot, kTowerId);
    }
}

void Gem(Driver& driver)
{
    Script& script = driver.GetScript();
    script.WaitUntil("gem: the first kill drops one", [] { return LyingDrop()().has_value(); }, kBattleTurns);
    script.Check("gem: it lies where the tutorial points", [](std::string& why) {
        const std::optional<Point> drop = LyingDrop()();
        const std::optional<Point> expected = LevelPoint(kGemPlace)();
        if (drop && expected && drop->x == expected->x && drop->y == expected->y)
            return true;
        why = drop ? "it lies at " + std::to_string(drop->x) + ", " + std::to_string(drop->y) : "it is gone";
        return false;
    });
    script.Do("gem: count before", [] { sLedger.gems = Economy()->mGems; });
    driver.Click("gem: tap it", LyingDrop());
    script.Check("gem: one more", [](std::string& why) {
        const int32_t gems = Economy()->mGems;
        if (gems != sLedger.gems + 1)
            return why = "gems went from " + std::to_string(sLedger.gems) + " to " + std::to_string(gems), false;
        return true;
    });
    script.WaitUntil("gem: the counter shows it", [] {
        return SlotText(Driver::Map()->mHud, L"text/crystals") == std::to_wstring(Economy()->mGems);
    });
}

// The ring on the first tower, open at the tutorial's upgrade step: each
// choice shows its tower's picture (probed), the sell item the refund.
void TowerRingWithUpgradeIcons(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.WaitTurns("tower ring: the ring's effects", kShowEffectTurns);
    driver.Screenshot("tower_ring", [&driver] {
        return RingChoiceProbes(driver.Config().layoutRoot, [](int32_t id) {
            const auto it = kRingIconFrames.find(id);
            return it == kRingIconFrames.end() ? std::string() : it->second;
        });
    });
    script.Check("tower ring: the sell item shows the refund", [](std::string& why) {
        const NQMap* map = Driver::Map();
        const NQContextMenuItem* sell = FindRingItem(kSellKey);
        const std::wstring expected = L"$" + std::to_wstring(map->GetSellRefund(FindTowerOnSpot(kFirstSpot)));
        if (!sell || !sell->mPriceText || sell->mPriceText->mText != expected)
            return why = "the sell item shows \"" + (sell && sell->mPriceText ? base::WideToUtf8(sell->mPriceText->mText)
                                                                            : std::string()) + "\"", false;
        return true;
    });
}

// The pop-up over the upgraded tower names its gains as percentages.
void UpgradePopupInPercent(Driver& driver)
{
    driver.GetScript().Check("upgrade pop-up: every gain is a percentage", [](std::string& why) {
        const NQMap* map = Driver::Map();
        const NQFloatingIcon* popup = nullptr;
        if (map->mFloatingIcons)
            for (const NQFloatingIcon* icon : map->mFloatingIcons->mIcons)
                if (!icon->text.empty())
                    popup = icon;
        if (!popup)
            return why = "no pop-up with a text", false;
        std::wstring line;
        for (size_t at = 0; at <= popup->text.size(); ++at)
        {
            if (at < popup->text.size() && popup->text[at] != L'\n')
            {
                line += popup->text[at];
                continue;
            }
            if (line.empty() || line.back() != L'%')
                return why = "the pop-up reads \"" + base::WideToUtf8(popup->text) + "\"", false;
            line.clear();
        }
        return true;
    });
}

void Upgrade(Driver& driver)
{
    Script& script = driver.GetScript();
    script.WaitUntil("upgrade: the tutorial pauses after the second wave",
                     [] { return StepActive(kUpgradeStep) && Speed() == 0.0f; }, kBattleTurns);
    driver.Click("upgrade: tap the tower on spot #0", TowerOnSpot(kFirstSpot));
    script.WaitUntil("upgrade: its ring opens", [] { return RingFullyOpen(NQContextMenu::kTowerRing); });
    script.Check("upgrade: the ring offers 10001", [](std::string& why) {
        for (const NQContextMenuItem* item : Driver::Map()->mContextMenu->mItems)
            if (item->mProto && item->mProto->id == kUpgradeId)
            {
                sLedger.buildKey = item->mKey;
                return true;
            }
        return why = "no item upgrades to " + std::to_string(kUpgradeId), false;
    });
    TowerRingWithUpgradeIcons(driver);
    driver.Click("upgrade: choose 10001", [] { return RingItem(sLedger.buildKey)(); });
    script.Check("upgrade: the tower is 10001 and the game runs", [](std::string& why) {
        const NQTower* tower = FindTowerOnSpot(kFirstSpot);
        const NQUnitProto* proto = tower ? tower->GetProto(-1) : nullptr;
        if (!proto || proto->id != kUpgradeId)
            return why = "the tower's prototype is " + std::to_string(proto ? proto->id : -1), false;
        if (Speed() == 0.0f)
            return why = "the game is still paused", false;
        return true;
    });
    UpgradePopupInPercent(driver);
    PressSpeed(driver, "upgrade");
}

void Battle(Driver& driver)
{
    Script& script = driver.GetScript();
    script.WaitUntil("battle: enemies under fire", [] {
        const NQMap* map = Driver::Map();
        return map->mWaveManager && !map->mWaveManager->mEnemies.empty() && map->mBullets &&
               !map->mBullets->mBullets.empty();
    }, kBattleTurns);
    driver.Screenshot("battle", [&driver] { return MapProbes(driver); });
    script.Check("battle: the counters show the gems and the lives", [](std::string& why) {
        const NQMap* map = Driver::Map();
        const std::wstring gems = SlotText(map->mHud, L"text/crystals");
        const std::wstring lives = SlotText(map->mHud, L"text/mana");
        const std::wstring expectedLives =
            std::to_wstring(int(map->mLives)) + L"/" + std::to_wstring(int(map->mMaxLives));
        if (gems == std::to_wstring(map->mEconomy->mGems) && lives == expectedLives)
            return true;
        why = "the panel shows " + base::WideToUtf8(gems) + " gems and " + base::WideToUtf8(lives) + " lives";
        return false;
    });
    CheckMusicAudible(driver, "battle: the level music plays, audibly", NQMap::GetMusicPath(0));
}

void Win(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.WaitState("win: the result window opens", screen::kWon, kBattleTurns);
    script.WaitUntil("win: the count-up ends", [] {
        auto* result = dynamic_cast<HUDLevelResultWindow*>(TopWindow());
        return result && result->mState == HUDLevelResultWindow::kFinished;
    }, kCountUpTurns);
    driver.WaitTurns("win: the last line settles", kShowEffectTurns);
    driver.Screenshot("result", [&driver] { return WonResultProbes(driver.Config().layoutRoot); });
    script.Check("win: three stars, every life kept", [](std::string& why) {
        const NQMap* map = Driver::Map();
        if (map->mLives != map->mMaxLives)
            return why = "lives " + std::to_string(map->mLives) + " of " + std::to_string(map->mMaxLives), false;
        const int32_t stars = HUDLevelResultWindow::CountStars(map->mLives, map->mMaxLives);
        if (stars != 3)
            return why = std::to_string(stars) + " stars", false;
        // The window shows all three.
        int shown = 0;
        for (const NQFrameEntry* image : TopWindow()->mImages)
            if (image->mShown && image->mName.rfind(L"star", 0) == 0)
                ++shown;
        if (shown != 3)
            return why = "the window shows " + std::to_string(shown) + " stars", false;
        return true;
    });
    script.Check("win: the result texts", [](std::string& why) {
        for (const wchar_t* slot : {L"killScore", L"lifeBonus", L"totalScore", L"gems"})
            if (SlotText(TopWindow(), slot).empty())
                return why = "the slot " + base::WideToUtf8(slot) + " is empty", false;
        return true;
    });
    script.Check("win: profiles.xml holds three stars for level 1 and the gems", [&driver](std::string& why) {
        const SavedProfile saved = ReadProfile(driver.ProfilesPath());
        if (saved.firstLevelStars != 3)
            return why = "level 1's record has " + std::to_string(saved.firstLevelStars) + " stars", false;
        if (saved.gems != Economy()->mGems)
            return why = "the stored gems are " + std::to_string(saved.gems) + ", the game has " +
                         std::to_string(Economy()->mGems),
                   false;
        return true;
    });
}

void LevelSelectAfterWin(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.Click("after the win: menu", WindowButton(L"menu"));
    driver.WaitState("after the win: the level select opens", screen::kLevelSelect);
    driver.WaitTurns("after the win: show effects", kShowEffectTurns);
    driver.Screenshot("level_select_won", [&driver] { return LevelSelectProbes(driver); });
    script.Check("after the win: level 1 super, level 2 open", [](std::string& why) {
        auto* select = dynamic_cast<HUDLevelSelect*>(TopWindow());
        if (!select || select->mPlates.size() < 2)
            return why = "no level select with two plates", false;
        const HUDLevelPlate* first = select->mPlates[0];
        const HUDLevelPlate* second = select->mPlates[1];
        if (first->mStateName != L"plate/super" || first->mStars != 3)
            return why = "level 1 shows '" + base::WideToUtf8(first->mStateName) + "' with " +
                         std::to_string(first->mStars) + " stars",
                   false;
        if (!second->mOpen || second->mComplete || !second->mEmitter)
            return why = "level 2 is not open and incomplete with its effect", false;
        return true;
    });
}

void Shop(Driver& driver)
{
    Script& script = driver.GetScript();
    driver.Click("shop: upgrade", WindowButton(L"upgrade"));
    driver.WaitState("shop: opens", screen::kShop);
    driver.WaitTurns("shop: show effects", kShowEffectTurns);
    driver.Screenshot("shop", [&driver] { return LayoutProbes(driver.Config().layoutRoot, "nq/shop", "back_footer"); });
    script.Check("shop: the first affordable upgrade", [](std::string& why) {
        auto* shop = dynamic_cast<HUDShopWindow*>(TopWindow());
        const NQMap* map = Driver::Map();
        if (!shop || !map->mUpgradeTable || !map->mProgress)
            return why = "no shop", false;
        for (size_t i = 0; i < shop->mPlates.size(); ++i)
        {
            const HUDUpgradePlate* plate = shop->mPlates[i];
            const int32_t id = plate->mUpgradeId;
            const int32_t level = map->mProgress->GetUpgradeLevel(id);
            for (const NQUpgrade* upgrade : map->mUpgradeTable->mUpgrades)
            {
                const NQUpgradeStep* step = upgrade->id == id ? upgrade->GetStep(level < 0 ? 0 : level + 1) : nullptr;
                if (!step || plate->mComplete || step->gemPrice > Economy()->mGems)
                    continue;
                sLedger.upgradeId = id;
                sLedger.upgradeLevel = level < 0 ? 0 : level + 1;
                sLedger.buildKey = int32_t(i);
                sLedger.buildPrice = float(step->gemPrice);
                sLedger.gems = Economy()->mGems;
                return true;
            }
        }
        return why = "no upgrade is affordable with " + std::to_string(Economy()->mGems) + " gems", false;
    });
    driver.Click("shop: buy it", [] { return ShopBuyButton(sLedger.buildKey)(); });
    script.Check("shop: gems fall by its price, its level stored", [&driver](std::string& why) {
        const int32_t fell = sLedger.gems - Economy()->mGems;
        if (fell != int32_t(sLedger.buildPrice))
            return why = "gems fell by " + std::to_string(fell), false;
        if (Driver::Map()->mProgress->GetUpgradeLevel(sLedger.upgradeId) != sLedger.upgradeLevel)
            return why = "the upgrade's level is not stored", false;
        SavedProfile saved = ReadProfile(driver.ProfilesPath());
        if (saved.gems != Economy()->mGems || saved.upgrades[sLedger.upgradeId] != sLedger.upgradeLevel)
            return why = "profiles.xml does not hold the gems and the upgrade's level", false;
        return true;
    });
    driver.Click("shop: back", WindowButton(L"back_ac"));
    driver.WaitState("shop: the level select again", screen::kLevelSelect);
}

void Quit(Driver& driver)
{
    driver.Click("quit: back to the episodes", WindowButton(L"back"));
    driver.WaitState("quit: the episode select", screen::kEpisodeSelect);
    driver.Click("quit: back to the main menu", WindowButton(L"back"));
    driver.WaitState("quit: the main menu", screen::kMainMenu);
    driver.WaitTurns("quit: show effects", kShowEffectTurns);
    driver.ClickLayer("quit: cloze", "nq/main_menu", "button/b1_cloze/pos");
}

void AfterExit(Driver& driver)
{
    driver.AfterExit("profiles.xml holds the first run's progress", [&driver](std::string& why) {
        SavedProfile saved = ReadProfile(driver.ProfilesPath());
        if (!saved.found || ReadCurrentProfile(driver.ProfilesPath()) != kProfileName)
            return why = "Tester is not the current profile", false;
        if (saved.firstLevelStars != 3)
            return why = "level 1 has " + std::to_string(saved.firstLevelStars) + " stars", false;
        if (saved.gems < 0)
            return why = "no gems stored", false;
        // The run bought exactly one step of one upgrade.
        int bought = 0;
        for (const auto& [id, level] : saved.upgrades)
            bought += level >= 0 ? level + 1 : 0;
        if (bought != 1)
            return why = std::to_string(bought) + " upgrade steps stored", false;
        for (int step : kFirstLevelSteps)
            if (saved.tutorialSteps[step] != kStepDone)
                return why = "tutorial step " + std::to_string(step) + " is not done", false;
        return true;
    });
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
    UnlockOk(driver);
    FirstTower(driver);
    MoreTowers(driver, kSpotsAtOnce);
    Gem(driver);
    MoreTowers(driver, kSpotsLater);
    Upgrade(driver);
    Battle(driver);
    Win(driver);
    LevelSelectAfterWin(driver);
    Shop(driver);
    Quit(driver);
    AfterExit(driver);
}

} // namespace playthrough
