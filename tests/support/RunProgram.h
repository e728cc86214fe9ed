#pragma once

#include <string>
#include <vector>

namespace hvtest
{
// Runs a program with the arguments and this process's environment, waits
// for it and returns its exit code (-1 when it could not run or was killed).
int RunProgram(const std::string& path, const std::vector<std::string>& arguments);
} // namespace hvtest
