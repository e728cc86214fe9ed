#include "Game/Data/NQProgress.h"

#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"
#include "Game/Data/NQProgressXml.h"
#include "Game/Data/ProfileName.h"
#include "Game/NQGameServices.h"

#include <tinyxml2.h>

#include <cassert>
#include <cstdio>

using namespace progressxml;

namespace
{
constexpr int kVersion = 4;
constexpr int kHardcoreMode = 3;
constexpr int kNoUpgrade = -1;
constexpr int kUnknownUpgrade = -2;
constexpr float kFullVolume = 1.0f;

file::Profiles* Store() { return file::Profiles::Instance(); }
NQGameServices* Services() { return NQGameServices::Get(); }

// A missing attribute reads 0: Query leaves its output alone on failure.
int IntOf(const tinyxml2::XMLElement* element, const char* name)
{
    int value = 0;
    element->QueryIntAttribute(name, &value);
    return value;
}

float FloatOf(const tinyxml2::XMLElement* element, const char* name)
{
    float value = 0.0f;
    element->QueryFloatAttribute(name, &value);
    return value;
}

bool BoolOf(const tinyxml2::XMLElement* element, const char* name)
{
    bool value = false;
    element->QueryBoolAttribute(name, &value);
    return value;
}

std::string EpisodeVisitedName(int episode, int mode)
{
    char name[48];
    std::snprintf(name, sizeof(name), "episode%d%c", episode, mode == kHardcoreMode ? 'h' : 'n');
    return name;
}

std::string EventName(int n)
{
    char name[32];
    std::snprintf(name, sizeof(name), "event%d", n);
    return name;
}

bool NameIs(const tinyxml2::XMLElement* element, const std::string& name)
{
    const char* text = element->Attribute(kName);
    return name == (text ? text : "");
}
} // namespace

NQProgress::NQProgress()
{
    // The store reads its file on first use, holding names to what a player can type.
    if (!Store()->GetDocument())
    {
        Store()->SetNameRule(&profilename::Fit);
        Store()->Load();
    }
    Bind();
    ReloadProfileNames();
    EnsureSkeleton();
}

NQProgress::~NQProgress() = default;

void NQProgress::Bind()
{
    mProfile = Store()->GetCurrentProfile();
    HoldToPlayableRanges();
}

tinyxml2::XMLElement* NQProgress::Profile()
{
    // A removed profile element is freed by the store: writing through an
    // old pointer would lose the change or worse.
    assert(mProfile == Store()->GetCurrentProfile());
    return mProfile;
}

tinyxml2::XMLElement* NQProgress::GetProfileElement() { return Profile(); }

tinyxml2::XMLElement* NQProgress::FindChild(const char* name)
{
    tinyxml2::XMLElement* profile = Profile();
    return profile ? profile->FirstChildElement(name) : nullptr;
}

tinyxml2::XMLElement* NQProgress::FindOrAppendChild(const char* name)
{
    tinyxml2::XMLElement* profile = Profile();
    tinyxml2::XMLElement* child = profile->FirstChildElement(name);
    if (!child)
        child = profile->InsertNewChildElement(name);
    return child;
}

// Profiles.

void NQProgress::EnsureSkeleton()
{
    tinyxml2::XMLElement* profile = Profile();
    if (!profile)
        return;
    FindOrAppendChild(kLevels);
    FindOrAppendChild(kTowers);
    profile->SetAttribute(kVersionAttribute, kVersion);
}

void NQProgress::ReloadProfileNames()
{
    const std::vector<std::wstring> names = Store()->GetProfileNames();
    mProfileNames.clear();
    if (names.size() == 1)
    {
        // Only the placeholder profile: no player yet.
        mCurrentName.clear();
        return;
    }
    if (names.size() >= 2)
        mProfileNames.assign(names.begin() + 1, names.end());
    mCurrentName = Store()->GetCurrentProfileName();
}

void NQProgress::SelectProfile(const std::wstring& name)
{
    mCurrentName = name;
    Store()->SelectProfile(name);
    Bind();
    Save();
    Services()->SetEconomyGems(GetGems());
    Services()->SetMode(GetMode());
    mUpgradeLevels.clear();
    Services()->ReloadTutorial();
    if (GetFullscreen() != Services()->IsFullscreen())
        Services()->SwitchScreenMode();
    ReloadProfileNames();
}

void NQProgress::SwitchProfile(const std::wstring& name)
{
    SelectProfile(name);
    EnsureSkeleton();
}

void NQProgress::RenameProfile(const std::wstring& name)
{
    // A second profile of that name could never be selected again: the store
    // finds the first one only.
    tinyxml2::XMLElement* holder = Store()->FindProfile(name);
    if (holder && holder != Profile())
        return;
    Store()->RenameCurrentProfile(name);
    Bind();
    Store()->SelectProfile(name);
    Bind();
    Save();
    ReloadProfileNames();
}

void NQProgress::DeleteProfile()
{
    // An empty name would take whichever profile reads empty: never a choice
    // the player made.
    if (mCurrentName.empty())
        return;
    Store()->RemoveProfile(mCurrentName);
    Bind();
    const std::vector<std::wstring> names = Store()->GetProfileNames();
    if (names.size() >= 2)
    {
        SelectProfile(names[1]);
    }
    else
    {
        SelectProfile(Store()->GetCurrentProfileName());
        mCurrentName.clear();
    }
    ReloadProfileNames();
}

void NQProgress::ResetCurrentProfile()
{
    Store()->RemoveProfile(Store()->GetCurrentProfileName());
    Bind();
    EnsureSkeleton();
    mUpgradeLevels.clear();
    Services()->SetTutorialEnabled(IsTutorialEnabled());
}

void NQProgress::Save()
{
    // A failed save is logged by the store, which keeps its good file; the
    // change stays in the document for the next save.
    if (Store()->Save() != tinyxml2::XML_SUCCESS)
        mSaveFailed = true;
}

bool NQProgress::TakeSaveFailureNotice()
{
    if (!mSaveFailed || mSaveFailureTold)
        return false;
    mSaveFailureTold = true;
    return true;
}

// Levels and stars.

tinyxml2::XMLElement* NQProgress::FindOrCreateLevel(int episode, int level, int mode)
{
    tinyxml2::XMLElement* levels = FindOrAppendChild(kLevels);
    for (tinyxml2::XMLElement* e = levels->FirstChildElement(kLevel); e; e = e->NextSiblingElement())
    {
        if (IntOf(e, kN) == level && IntOf(e, kEpisode) == episode && IntOf(e, kMode) == mode)
            return e;
    }
    tinyxml2::XMLElement* created = levels->InsertNewChildElement(kLevel);
    created->SetAttribute(kN, level);
    created->SetAttribute(kEpisode, episode);
    created->SetAttribute(kMode, mode);
    return created;
}

NQLevelRecord* NQProgress::GetLevelRecord(int episode, int level, int mode)
{
    const tinyxml2::XMLElement* e = FindOrCreateLevel(episode, level, mode);
    auto* record = new NQLevelRecord;
    record->kills = IntOf(e, kKills);
    record->combo = IntOf(e, kCombo);
    record->healthBonus = IntOf(e, kHealthBonus);
    record->stars = IntOf(e, kStars);
    record->gems = IntOf(e, kGems);
    record->high = IntOf(e, kHigh);
    record->mode = IntOf(e, kMode);
    return record;
}

void NQProgress::StoreLevelResult(int episode, int level, int mode, const NQLevelRecord& record)
{
    tinyxml2::XMLElement* e = FindOrCreateLevel(episode, level, mode);
    e->SetAttribute(kCombo, record.combo);
    e->SetAttribute(kKills, record.kills);
    e->SetAttribute(kHealthBonus, record.healthBonus);
    e->SetAttribute(kGems, record.gems);
    const int score = record.kills + record.healthBonus;
    const int high = IntOf(e, kHigh);
    e->SetAttribute(kHigh, score > high ? score : high);
    const int stars = IntOf(e, kStars);
    e->SetAttribute(kStars, record.stars > stars ? record.stars : stars);
    Profile()->SetAttribute(kLastEpisode, episode);
    AddGems(record.gems);
    Save();
}

int NQProgress::GetNextLevel(int episode, int mode)
{
    NQGameServices* services = Services();
    const int count =
        mode == kHardcoreMode ? services->GetHardcoreLevelCount(episode) : services->GetLevelCount(episode);
    for (int i = 0; i < count; ++i)
    {
        if (IntOf(FindOrCreateLevel(episode, i, mode), kStars) == 0)
            return i;
    }
    return count - 1;
}

bool NQProgress::IsLevelOpen(int episode, int level, int mode) { return level <= GetNextLevel(episode, mode); }

int NQProgress::GetStars(int episode)
{
    const tinyxml2::XMLElement* levels = FindChild(kLevels);
    if (!levels)
        return 0;
    int stars = 0;
    for (const tinyxml2::XMLElement* e = levels->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        if (episode == -1 || IntOf(e, kEpisode) == episode)
            stars += IntOf(e, kStars);
    }
    return stars;
}

void NQProgress::GetFurthestLevel(int& episode, int& level)
{
    NQGameServices* services = Services();
    episode = 0;
    level = 0;
    for (int i = services->GetEpisodeCount() - 1; i >= 0 && i >= episode; --i)
    {
        if (!services->IsEpisodeOpen(i))
            continue;
        if (i > episode)
        {
            episode = i;
            level = 0;
        }
        const int mode = services->GetMode();
        for (int j = services->GetLevelCount(i) - 1; j >= 0; --j)
        {
            if (IntOf(FindOrCreateLevel(i, j, mode), kStars) > 0 && j >= level)
                level = j;
        }
    }
}

int NQProgress::GetLastEpisode()
{
    tinyxml2::XMLElement* profile = Profile();
    return profile ? IntOf(profile, kLastEpisode) : 0;
}

// Episode and event flags.

int NQProgress::GetEpisodeVisited(int episode, int mode)
{
    const tinyxml2::XMLElement* visited = FindChild(kEpisodeVisited);
    return visited ? IntOf(visited, EpisodeVisitedName(episode, mode).c_str()) : 0;
}

void NQProgress::SetEpisodeVisited(int episode, int mode, int value)
{
    tinyxml2::XMLElement* visited = FindChild(kEpisodeVisited);
    if (!visited)
    {
        visited = Profile()->GetDocument()->NewElement(kEpisodeVisited);
        Profile()->InsertFirstChild(visited);
    }
    visited->SetAttribute(EpisodeVisitedName(episode, mode).c_str(), value);
    Save();
}

bool NQProgress::GetEventFlag(int n)
{
    const tinyxml2::XMLElement* visited = FindChild(kEpisodeVisited);
    return visited ? BoolOf(visited, EventName(n).c_str()) : false;
}

void NQProgress::SetEventFlag(int n)
{
    FindOrAppendChild(kEpisodeVisited)->SetAttribute(EventName(n).c_str(), true);
    Save();
}

// Unlocks announced.

bool NQProgress::IsUnlockAnnounced(int id)
{
    const tinyxml2::XMLElement* announced = FindChild(kAnnounced);
    if (!announced)
        return false;
    for (const tinyxml2::XMLElement* e = announced->FirstChildElement(kUnlock); e; e = e->NextSiblingElement(kUnlock))
        if (IntOf(e, kId) == id)
            return true;
    return false;
}

void NQProgress::SetUnlocksAnnounced(const std::vector<int>& ids)
{
    bool added = false;
    for (int id : ids)
    {
        if (IsUnlockAnnounced(id))
            continue;
        FindOrAppendChild(kAnnounced)->InsertNewChildElement(kUnlock)->SetAttribute(kId, id);
        added = true;
    }
    if (added)
        Save();
}

// Economy and settings.

int NQProgress::GetGems()
{
    tinyxml2::XMLElement* gems = FindChild(kGems);
    if (gems)
        return IntOf(gems, kAmount);
    const int initial = Services()->GetDefaultGems();
    FindOrAppendChild(kGems)->SetAttribute(kAmount, initial);
    return initial;
}

void NQProgress::SetGems(int gems)
{
    FindOrAppendChild(kGems)->SetAttribute(kAmount, gems);
    Save();
}

void NQProgress::AddGems(int gems)
{
    tinyxml2::XMLElement* element = FindChild(kGems);
    if (element)
        element->SetAttribute(kAmount, IntOf(element, kAmount) + gems);
    else
        FindOrAppendChild(kGems)->SetAttribute(kAmount, gems);
    Save();
}

int NQProgress::GetMode()
{
    tinyxml2::XMLElement* mode = FindChild(kMode);
    if (!mode)
    {
        FindOrAppendChild(kMode)->SetAttribute(kValue, 0);
        mCachedMode = 0;
        return 0;
    }
    mCachedMode = IntOf(mode, kValue);
    return mCachedMode;
}

void NQProgress::SetMode(int mode)
{
    GetMode();
    FindChild(kMode)->SetAttribute(kValue, mode);
    mCachedMode = mode;
    Save();
}

float NQProgress::GetMusicVolume()
{
    tinyxml2::XMLElement* music = FindChild(kMusic);
    if (music)
        return FloatOf(music, kValue);
    FindOrAppendChild(kMusic)->SetAttribute(kValue, kFullVolume);
    return kFullVolume;
}

float NQProgress::GetSoundVolume()
{
    tinyxml2::XMLElement* sound = FindChild(kSound);
    if (sound)
        return FloatOf(sound, kValue);
    FindOrAppendChild(kSound)->SetAttribute(kValue, kFullVolume);
    return kFullVolume;
}

void NQProgress::SetMusicVolume(float volume)
{
    FindOrAppendChild(kMusic)->SetAttribute(kValue, volume);
    Save();
}

void NQProgress::SetSoundVolume(float volume)
{
    FindOrAppendChild(kSound)->SetAttribute(kValue, volume);
    Save();
}

bool NQProgress::GetFullscreen()
{
    tinyxml2::XMLElement* fullscreen = FindChild(kFullscreen);
    if (fullscreen)
        return BoolOf(fullscreen, kValue);
    const bool current = Services()->IsFullscreen();
    FindOrAppendChild(kFullscreen)->SetAttribute(kValue, current);
    return current;
}

void NQProgress::SetFullscreen(bool fullscreen)
{
    FindOrAppendChild(kFullscreen)->SetAttribute(kValue, fullscreen);
    Save();
}

// Tutorial.

bool NQProgress::IsTutorialEnabled()
{
    const tinyxml2::XMLElement* tutorial = FindChild(kTutorial);
    return tutorial ? BoolOf(tutorial, kAvail) : true;
}

void NQProgress::SetTutorialEnabled(bool enabled)
{
    FindOrAppendChild(kTutorial)->SetAttribute(kAvail, enabled);
    Save();
}

int NQProgress::GetTutorialStepState(int id)
{
    tinyxml2::XMLElement* tutorial = FindChild(kTutorial);
    if (!tutorial)
    {
        tutorial = FindOrAppendChild(kTutorial);
        tutorial->SetAttribute(kAvail, 1);
    }
    for (const tinyxml2::XMLElement* step = tutorial->FirstChildElement(kStep); step;
         step = step->NextSiblingElement(kStep))
    {
        if (IntOf(step, kId) == id)
            return IntOf(step, kState);
    }
    tinyxml2::XMLElement* step = tutorial->InsertNewChildElement(kStep);
    step->SetAttribute(kId, id);
    step->SetAttribute(kState, 0);
    Save();
    return 0;
}

void NQProgress::SetTutorialStepState(int id, int state)
{
    GetTutorialStepState(id);
    tinyxml2::XMLElement* tutorial = FindChild(kTutorial);
    for (tinyxml2::XMLElement* step = tutorial->FirstChildElement(kStep); step; step = step->NextSiblingElement(kStep))
    {
        if (IntOf(step, kId) == id)
        {
            step->SetAttribute(kState, state);
            break;
        }
    }
    Save();
}

tinyxml2::XMLElement* NQProgress::FindOrCreateTutorialParam(const std::string& name, bool* created)
{
    *created = false;
    tinyxml2::XMLElement* tutorial = FindChild(kTutorial);
    if (!tutorial)
    {
        // Made enabled, as the step lookup makes it: an element without
        // "avail" would switch the player's tutorial off.
        tutorial = FindOrAppendChild(kTutorial);
        tutorial->SetAttribute(kAvail, 1);
    }
    for (tinyxml2::XMLElement* param = tutorial->FirstChildElement(kParam); param;
         param = param->NextSiblingElement(kParam))
    {
        if (NameIs(param, name))
            return param;
    }
    tinyxml2::XMLElement* param = tutorial->InsertNewChildElement(kParam);
    param->SetAttribute(kName, name.c_str());
    param->SetAttribute(kValue, 0);
    *created = true;
    return param;
}

int NQProgress::GetTutorialParam(const std::wstring& name) { return GetTutorialParam(base::WideToUtf8(name)); }

int NQProgress::GetTutorialParam(const std::string& name)
{
    bool created = false;
    const tinyxml2::XMLElement* param = FindOrCreateTutorialParam(name, &created);
    if (created)
    {
        Save();
        return 0;
    }
    return IntOf(param, kValue);
}

void NQProgress::SetTutorialParam(const std::wstring& name, int value)
{
    const std::string narrow = base::WideToUtf8(name);
    GetTutorialParam(narrow);
    bool created = false;
    FindOrCreateTutorialParam(narrow, &created)->SetAttribute(kValue, value);
    Save();
}

// Upgrades and spots.

tinyxml2::XMLElement* NQProgress::CreateUpgrades()
{
    tinyxml2::XMLElement* upgrades = Profile()->InsertNewChildElement(kUpgrades);
    for (int id : Services()->GetUpgradeIds())
    {
        tinyxml2::XMLElement* upgrade = upgrades->InsertNewChildElement(kUpgrade);
        upgrade->SetAttribute(kId, id);
        upgrade->SetAttribute(kLevel, kNoUpgrade);
    }
    return upgrades;
}

int NQProgress::GetUpgradeLevel(int id)
{
    // Upgrades do not apply in hardcore.
    if (Services()->GetMode() == kHardcoreMode)
        return kNoUpgrade;
    auto cached = mUpgradeLevels.find(id);
    if (cached != mUpgradeLevels.end())
        return cached->second;
    mUpgradeLevels[id] = kNoUpgrade;
    const tinyxml2::XMLElement* upgrades = FindChild(kUpgrades);
    if (!upgrades)
    {
        CreateUpgrades();
        Save();
        return kNoUpgrade;
    }
    for (const tinyxml2::XMLElement* e = upgrades->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        if (IntOf(e, kId) == id)
        {
            const int level = IntOf(e, kLevel);
            mUpgradeLevels[id] = level;
            return level;
        }
    }
    return kUnknownUpgrade;
}

void NQProgress::SetUpgradeLevel(int id, int level)
{
    mUpgradeLevels[id] = level;
    tinyxml2::XMLElement* upgrades = FindChild(kUpgrades);
    if (!upgrades)
        upgrades = CreateUpgrades();
    tinyxml2::XMLElement* entry = nullptr;
    for (tinyxml2::XMLElement* e = upgrades->FirstChildElement(); e && !entry; e = e->NextSiblingElement())
    {
        if (IntOf(e, kId) == id)
            entry = e;
    }
    if (!entry)
    {
        entry = upgrades->InsertNewChildElement(kUpgrade);
        entry->SetAttribute(kId, id);
    }
    entry->SetAttribute(kLevel, level);
    Save();
}

void NQProgress::AddOwnedSpot(const std::wstring& name, int episode, int level)
{
    tinyxml2::XMLElement* spot = FindOrAppendChild(kOwned)->InsertNewChildElement(kSpot);
    spot->SetAttribute(kName, base::WideToUtf8(name).c_str());
    spot->SetAttribute(kEpisode, episode);
    spot->SetAttribute(kLevel, level);
    spot->SetAttribute(kMode, Services()->GetMode());
    Save();
}

bool NQProgress::IsSpotOwned(const std::wstring& name, int episode, int level)
{
    const tinyxml2::XMLElement* owned = FindChild(kOwned);
    if (!owned)
        return false;
    const std::string narrow = base::WideToUtf8(name);
    // Spots bought in easy, normal or hard count for all three; hardcore has its own.
    const bool hardcore = Services()->GetMode() == kHardcoreMode;
    for (const tinyxml2::XMLElement* e = owned->FirstChildElement(kSpot); e; e = e->NextSiblingElement())
    {
        if (!NameIs(e, narrow) || IntOf(e, kEpisode) != episode || IntOf(e, kLevel) != level)
            continue;
        if ((IntOf(e, kMode) == kHardcoreMode) == hardcore)
            return true;
    }
    return false;
}
