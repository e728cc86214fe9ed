#pragma once

// The levels the content ships, for tests that run over each of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace contenttest
{
constexpr int kNormalMode = 1;
constexpr int kHardcoreMode = 3;

struct ShippedLevel
{
    std::string folder;
    std::string name; // without the extension
    int episode = 0;
    int level = 0;

    int Mode() const { return folder == "levels_hardcore" ? kHardcoreMode : kNormalMode; }
};

// Every level of the setup: three episodes of six normal and three hardcore levels.
std::vector<ShippedLevel> ShippedLevels();
// "normal_01_02" and the like, for test names.
std::string ShippedLevelName(const testing::TestParamInfo<ShippedLevel>& info);
} // namespace contenttest
