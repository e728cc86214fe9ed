#pragma once

// The element and attribute names of a player's progress inside the profile
// element of "profiles.xml".
namespace progressxml
{
inline constexpr const char* kLevels = "levels";
inline constexpr const char* kLevel = "level";
inline constexpr const char* kTowers = "towers";
inline constexpr const char* kGems = "gems";
inline constexpr const char* kAmount = "amount";
inline constexpr const char* kMode = "mode";
inline constexpr const char* kMusic = "music";
inline constexpr const char* kSound = "sound";
inline constexpr const char* kFullscreen = "fs";
inline constexpr const char* kValue = "v";
inline constexpr const char* kTutorial = "tutorial";
inline constexpr const char* kAvail = "avail";
inline constexpr const char* kParam = "param";
inline constexpr const char* kStep = "step";
inline constexpr const char* kState = "state";
inline constexpr const char* kUpgrades = "upgrades";
inline constexpr const char* kUpgrade = "upgrade";
inline constexpr const char* kOwned = "owned";
inline constexpr const char* kSpot = "spot";
inline constexpr const char* kEpisodeVisited = "episodeVisited";
inline constexpr const char* kAnnounced = "announced";
inline constexpr const char* kUnlock = "unlock";
inline constexpr const char* kVersionAttribute = "version";
inline constexpr const char* kLastEpisode = "lastEpisode";
inline constexpr const char* kName = "name";
inline constexpr const char* kId = "id";
inline constexpr const char* kN = "n";
inline constexpr const char* kEpisode = "episode";
inline constexpr const char* kCombo = "combo";
inline constexpr const char* kKills = "kills";
inline constexpr const char* kHealthBonus = "healthBonus";
inline constexpr const char* kStars = "stars";
inline constexpr const char* kHigh = "high";
} // namespace progressxml
