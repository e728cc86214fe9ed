#pragma once

// The data the game cannot start without: the strings file, the particle
// library, the six fonts and the HUD layout. Without them the game would run
// on as a black window.
#include <string>

class GameWindow;

// The first of them that did not load, in loading order, as its name in the
// data root; empty when all did.
std::wstring FindDamagedGameData(const GameWindow& board);

// What the player is told: the damaged file, then the data folder.
std::wstring DamagedDataMessage(const std::wstring& name, const std::wstring& dataFolder);
