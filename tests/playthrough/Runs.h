#pragma once

// The two scripted runs.
#include "Driver.h"

#include <string>

namespace playthrough
{
// "first": loose data, no profile stored yet.
void WriteFirstRun(Driver& driver);
// "return": packed data, the profile the first run saved.
void WriteReturnRun(Driver& driver);
// "spells": loose data, the profile of the earlier runs with the level before
// the first spell won (PrepareSpellRun, before the program starts).
void WriteSpellRun(Driver& driver);
bool PrepareSpellRun(const std::string& profilesPath, std::string& error);

// Checks every run makes after the program has exited.
void AddAfterExitChecks(Driver& driver, bool packed);
} // namespace playthrough
