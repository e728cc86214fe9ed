#include "Platform/Win32/FileReplace.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
TEST(FileReplaceTest, MoveFileExReplacesOnlyWhenAsked)
{
    hvtest::TempFolder dir;
    const std::wstring root = dir.Wide();
    const DWORD replace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    dir.Write("new", "new bytes");
    dir.Write("old", "old bytes");

    EXPECT_FALSE(MoveFileExW((root + L"new").c_str(), (root + L"old").c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(dir.Read("old"), "old bytes");

    EXPECT_TRUE(MoveFileExW((root + L"new").c_str(), (root + L"old").c_str(), replace));
    EXPECT_EQ(dir.Read("old"), "new bytes");
    EXPECT_FALSE(dir.Exists("new"));

    // A missing source or a folder in the way fails and leaves things alone.
    EXPECT_FALSE(MoveFileExW((root + L"new").c_str(), (root + L"old").c_str(), replace));
    std::filesystem::create_directory(dir.Path() / "folder");
    std::filesystem::create_directory(dir.Path() / "folder/inside");
    EXPECT_FALSE(MoveFileExW((root + L"old").c_str(), (root + L"folder").c_str(), replace));
    EXPECT_EQ(dir.Read("old"), "new bytes");

    EXPECT_TRUE(MoveFileExW((root + L"old").c_str(), (root + L"fresh").c_str(), 0));
    EXPECT_EQ(dir.Read("fresh"), "new bytes");
}
}
