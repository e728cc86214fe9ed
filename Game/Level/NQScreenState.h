#pragma once

#include <cstdint>

// What the player sees: the level object keeps one of these values, the HUD's
// show operations and the level's own operations write it.
using NQScreenState = int32_t;

namespace screen
{
constexpr NQScreenState kNone = -1;            // before the splash screens
constexpr NQScreenState kPlaying = 0;
constexpr NQScreenState kWon = 1;
constexpr NQScreenState kLost = 2;
constexpr NQScreenState kRestarting = 3;
constexpr NQScreenState kIngameMenu = 4;
constexpr NQScreenState kEpisodeSelect = 5;
constexpr NQScreenState kLevelSelect = 6;
constexpr NQScreenState kMainMenu = 7;
constexpr NQScreenState kShop = 8;
// The level drawing also draws the world for 9, 10 and 19, which nothing sets.
constexpr NQScreenState kUnused9 = 9;
constexpr NQScreenState kUnused10 = 10;
constexpr NQScreenState kUnlockMessage = 11;
constexpr NQScreenState kSplashScreens = 12;
constexpr NQScreenState kProfiles = 13;
constexpr NQScreenState kNewProfileName = 14;
constexpr NQScreenState kRenameProfileName = 15;
constexpr NQScreenState kModalMessage = 16;
constexpr NQScreenState kGemShop = 18;
constexpr NQScreenState kUnused19 = 19;
constexpr NQScreenState kGemsForGold = 21;
constexpr NQScreenState kPurchaseResult = 22;
constexpr NQScreenState kWaitingForStore = 23;
constexpr NQScreenState kResetUpgrades = 26;
constexpr NQScreenState kIntroVideo = 121;

// The states in which the level's battlefield is on screen; the level's
// panel belongs to it and shows only then.
constexpr bool ShowsBattlefield(NQScreenState state)
{
    switch (state)
    {
    case kPlaying:
    case kWon:
    case kLost:
    case kIngameMenu:
    case kUnused9:
    case kUnused10:
    case kUnlockMessage:
    case kUnused19:
    case kGemsForGold:
    case kPurchaseResult:
    case kWaitingForStore:
        return true;
    default:
        return false;
    }
}
} // namespace screen
