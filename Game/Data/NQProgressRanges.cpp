// Holding a stored profile to what play can produce: a hand-edited or damaged
// file must not hand out gems, stars or levels that no game gave.
#include "Game/Data/NQProgress.h"

#include "Core/Base/LogMessage.h"
#include "Core/Base/TextEncoding.h"
#include "Game/Data/NQProgressXml.h"
#include "Game/NQGameServices.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace progressxml;

namespace
{
constexpr int kModes = 4; // easy, normal, hard, hardcore
constexpr int kHardcoreMode = 3;
constexpr int kNoUpgrade = -1;
constexpr int kLastStepState = 2; // done
// More than any level scores: seven digits.
constexpr long long kMaxScore = 9'999'999;
constexpr float kMaxVolume = 1.0f;

// The level's counters that only grow with play.
const char* const kScores[] = {progressxml::kCombo, progressxml::kKills, progressxml::kHealthBonus,
                               progressxml::kHigh};

// The attribute as a whole number, saturated at the 64-bit range; false when
// it is missing or not a number (it then reads 0, which every range holds).
bool ReadWhole(const tinyxml2::XMLElement* element, const char* name, long long* value)
{
    const char* text = element->Attribute(name);
    if (!text)
        return false;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r')
        ++text;
    // The XML library reads "0x..." as hexadecimal; so does this.
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    *value = std::strtoll(hex ? text + 2 : text, &end, hex ? 16 : 10);
    return end != (hex ? text + 2 : text);
}

std::wstring Where(const tinyxml2::XMLElement* element, const char* name)
{
    return base::ToWide(std::string(element->Name()) + "/" + name, 1);
}

// Holds the attribute to [low, high]; true when it was changed.
bool HoldWhole(tinyxml2::XMLElement* element, const char* name, long long low, long long high)
{
    long long value = 0;
    if (!ReadWhole(element, name, &value) || (value >= low && value <= high))
        return false;
    const long long held = std::clamp(value, low, high);
    HV_LOG(L"progress: %s was %s, now %d\n") % Where(element, name) %
        base::ToWide(element->Attribute(name), 1) % static_cast<int32_t>(held);
    element->SetAttribute(name, static_cast<int>(held));
    return true;
}

void HoldVolume(tinyxml2::XMLElement* element)
{
    float value = 0.0f;
    if (!element || element->QueryFloatAttribute(kValue, &value) != tinyxml2::XML_SUCCESS)
        return;
    if (value >= 0.0f && value <= kMaxVolume)
        return;
    // Not a number: full volume, as a fresh profile has.
    const float held = std::isnan(value) ? kMaxVolume : std::clamp(value, 0.0f, kMaxVolume);
    HV_LOG(L"progress: %s was %s, now %f\n") % Where(element, kValue) % base::ToWide(element->Attribute(kValue), 1) %
        held;
    element->SetAttribute(kValue, held);
}

// The levels a mode of that episode has; -1 when the tables do not know.
int LevelCount(NQGameServices* services, int episode, int mode)
{
    return mode == kHardcoreMode ? services->GetHardcoreLevelCount(episode) : services->GetLevelCount(episode);
}

// A record of a level no table holds is no record play made.
bool IsPlayableLevel(NQGameServices* services, const tinyxml2::XMLElement* level)
{
    long long episode = 0, n = 0, mode = 0;
    ReadWhole(level, kEpisode, &episode);
    ReadWhole(level, kN, &n);
    ReadWhole(level, kMode, &mode);
    if (mode < 0 || mode >= kModes || episode < 0 || episode >= services->GetEpisodeCount())
        return false;
    const int count = LevelCount(services, static_cast<int>(episode), static_cast<int>(mode));
    return n >= 0 && n < count;
}

void HoldLevels(tinyxml2::XMLElement* levels, NQGameServices* services, bool tablesKnown)
{
    std::vector<tinyxml2::XMLElement*> unplayable;
    for (tinyxml2::XMLElement* level = levels->FirstChildElement(kLevel); level;
         level = level->NextSiblingElement(kLevel))
    {
        if (tablesKnown && !IsPlayableLevel(services, level))
        {
            unplayable.push_back(level);
            continue;
        }
        HoldWhole(level, kStars, 0, NQProgress::kMaxStars);
        HoldWhole(level, kGems, 0, NQProgress::kMaxGems);
        for (const char* score : kScores)
            HoldWhole(level, score, 0, kMaxScore);
    }
    for (tinyxml2::XMLElement* level : unplayable)
    {
        HV_LOG(L"progress: a record of level %s, episode %s, mode %s is outside the level tables; removed\n") %
            base::ToWide(level->Attribute(kN) ? level->Attribute(kN) : "", 1) %
            base::ToWide(level->Attribute(kEpisode) ? level->Attribute(kEpisode) : "", 1) %
            base::ToWide(level->Attribute(kMode) ? level->Attribute(kMode) : "", 1);
        levels->DeleteChild(level);
    }
}

void HoldUpgrades(tinyxml2::XMLElement* upgrades, NQGameServices* services)
{
    for (tinyxml2::XMLElement* upgrade = upgrades->FirstChildElement(); upgrade;
         upgrade = upgrade->NextSiblingElement())
    {
        long long id = 0;
        ReadWhole(upgrade, kId, &id);
        const int steps = id >= INT32_MIN && id <= INT32_MAX ? services->GetUpgradeStepCount(int(id)) : -1;
        // An upgrade the table does not know is never offered: left alone.
        if (steps >= 0)
            HoldWhole(upgrade, kLevel, kNoUpgrade, steps - 1);
    }
}
} // namespace

void NQProgress::HoldToPlayableRanges()
{
    tinyxml2::XMLElement* profile = mProfile;
    if (!profile)
        return;
    NQGameServices* services = NQGameServices::Get();
    // Before the level object has read its tables every range check of
    // levels would throw records away.
    const bool tablesKnown = services->GetEpisodeCount() > 0;

    if (tinyxml2::XMLElement* gems = profile->FirstChildElement(kGems))
        HoldWhole(gems, kAmount, 0, kMaxGems);
    if (tinyxml2::XMLElement* mode = profile->FirstChildElement(kMode))
        HoldWhole(mode, kValue, 0, kModes - 1);
    HoldVolume(profile->FirstChildElement(kMusic));
    HoldVolume(profile->FirstChildElement(kSound));
    if (tinyxml2::XMLElement* tutorial = profile->FirstChildElement(kTutorial))
    {
        for (tinyxml2::XMLElement* step = tutorial->FirstChildElement(kStep); step;
             step = step->NextSiblingElement(kStep))
            HoldWhole(step, kState, 0, kLastStepState);
    }
    if (tinyxml2::XMLElement* levels = profile->FirstChildElement(kLevels))
        HoldLevels(levels, services, tablesKnown);
    if (tinyxml2::XMLElement* upgrades = profile->FirstChildElement(kUpgrades))
        HoldUpgrades(upgrades, services);
    if (tablesKnown)
        HoldWhole(profile, kLastEpisode, 0, services->GetEpisodeCount() - 1);
    else
        HoldWhole(profile, kLastEpisode, 0, INT32_MAX);
}
