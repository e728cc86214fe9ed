#pragma once

// A run's own data root: the content folders of a built data root as hard
// links, so a run cannot change the build's tree, except the strings file,
// which is copied (the program appends a line for each missing key to it).
#include <string>

namespace playthrough
{
// Empties `runRoot` and reproduces in it "nq/" (or "data.dat"), "data/" and
// "logo/" of `source`. False when the source holds none of them.
bool ReproduceDataRoot(const std::string& source, const std::string& runRoot, std::string& error);

constexpr const char* kStringsFile = "nq/strings_en.csv";
} // namespace playthrough
