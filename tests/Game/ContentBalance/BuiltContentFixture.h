#pragma once

// The battle fixture on the data root the content build wrote
// (build/<preset>/bin) in place of the fixture's own data.
#include "BattleFixture.h"

#include <filesystem>

namespace contenttest
{
class BuiltContentTest : public gametest::BattleTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The built data root.
    static std::filesystem::path Content();
    // The fixture's own root, where the built folders are linked.
    std::filesystem::path Root() const;
};
} // namespace contenttest
