#pragma once

// The two scripted runs.
#include "Driver.h"

namespace playthrough
{
// "first": loose data, no profile stored yet.
void WriteFirstRun(Driver& driver);
// "return": packed data, the profile the first run saved.
void WriteReturnRun(Driver& driver);

// Checks every run makes after the program has exited.
void AddAfterExitChecks(Driver& driver, bool packed);
} // namespace playthrough
