#include "Platform/Win32/FileReplace.h"
#include "Platform/Win32/Files.h"

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
    EXPECT_FALSE(dir.Has("new"));

    // A missing source or a folder in the way fails and leaves things alone.
    EXPECT_FALSE(MoveFileExW((root + L"new").c_str(), (root + L"old").c_str(), replace));
    std::filesystem::create_directory(dir.Folder() / "folder");
    std::filesystem::create_directory(dir.Folder() / "folder/inside");
    EXPECT_FALSE(MoveFileExW((root + L"old").c_str(), (root + L"folder").c_str(), replace));
    EXPECT_EQ(dir.Read("old"), "new bytes");

    EXPECT_TRUE(MoveFileExW((root + L"old").c_str(), (root + L"fresh").c_str(), 0));
    EXPECT_EQ(dir.Read("fresh"), "new bytes");
}

TEST(FileReplaceTest, FlushFileBuffersNeedsAnOpenFile)
{
    hvtest::TempFolder dir;
    HANDLE file = CreateFileW((dir.Wide() + L"f").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "abc", 3, &written, nullptr));
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(FlushFileBuffers(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(FlushFileBuffers(nullptr));
    EXPECT_EQ(dir.Read("f"), "abc");
}
}
