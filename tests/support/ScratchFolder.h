#pragma once

// A folder for a program's whole run (fuzz targets): made once, removed with
// everything in it when the program exits normally.
#include <string>

namespace hvtest
{
// mkdtemp of the pattern ("/tmp/name-XXXXXX"); aborts when it cannot be made.
// The result has no trailing '/'.
std::string MakeScratchFolder(std::string pattern);
} // namespace hvtest
