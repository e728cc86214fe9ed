#include "Platform/Win32/Directories.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace
{
using Found = std::pair<std::wstring, bool>; // name, is a folder

std::vector<Found> FindAll(const std::wstring& pattern)
{
    std::vector<Found> out;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do
        out.emplace_back(data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    while (FindNextFileW(h, &data));
    EXPECT_TRUE(FindClose(h));
    return out;
}

class DirectoriesTest : public ::testing::Test
{
protected:
    hvtest::TempFolder dir;
};

TEST_F(DirectoriesTest, StarListsTheFolderSortedIgnoringCaseTiesByBytes)
{
    dir.Write("b.txt", "b");
    dir.Write("a.txt", "a");
    dir.Write("A.txt", "A");
    dir.Write("Sub/inner", "x");
    dir.Write("\xd0\xbf\xd1\x80\xd0\xb8.txt", "cyr"); // "при.txt"
    std::filesystem::create_symlink(dir.Folder() / "Sub", dir.Folder() / "link");

    const std::vector<Found> expected = {
        {L".", true}, {L"..", true}, {L"A.txt", false}, {L"a.txt", false}, {L"b.txt", false},
        {L"link", true}, {L"Sub", true}, {L"\u043f\u0440\u0438.txt", false},
    };
    EXPECT_EQ(FindAll(dir.Wide() + L"*"), expected);
    EXPECT_EQ(FindAll(dir.Wide() + L"Sub\\*").size(), 3u); // ".", "..", "inner"
}

TEST_F(DirectoriesTest, OtherPatternsLookUpOneExactName)
{
    dir.Write("a.txt", "a");
    dir.Write("a*", "star");
    dir.Write("Sub/inner", "x");
    struct Case
    {
        std::wstring path;
        std::vector<Found> found;
    };
    const std::vector<Case> cases = {
        {L"a.txt", {{L"a.txt", false}}},
        {L"A.txt", {}}, // case-sensitive
        {L"Sub", {{L"Sub", true}}},
        {L"Sub/", {}},
        {L"Sub\\", {}},
        {L"Sub\\inner", {{L"inner", false}}},
        {L"a*", {{L"a*", false}}}, // '*' not last alone is literal
        {L"?.txt", {}},
        {L"missing", {}},
        {L"missing/*", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindAll(dir.Wide() + c.path), c.found) << std::string(c.path.begin(), c.path.end());
}

TEST_F(DirectoriesTest, RelativeStarListsTheCurrentDirectory)
{
    dir.Write("only", "1");
    hvtest::CurrentDirectory cd(dir.Folder());
    EXPECT_EQ(FindAll(L"*"), (std::vector<Found>{{L".", true}, {L"..", true}, {L"only", false}}));
    EXPECT_EQ(FindAll(L"only"), (std::vector<Found>{{L"only", false}}));
}

TEST_F(DirectoriesTest, FolderCalls)
{
    const std::wstring root = dir.Wide();
    EXPECT_TRUE(CreateDirectoryW((root + L"new").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryW((root + L"new").c_str(), nullptr)); // exists
    EXPECT_FALSE(CreateDirectoryW((root + L"no/parent").c_str(), nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Folder() / "new"));

    dir.Write("file", "x");
    EXPECT_FALSE(DeleteFileW((root + L"new").c_str())); // a folder
    EXPECT_TRUE(DeleteFileW((root + L"file").c_str()));
    EXPECT_FALSE(DeleteFileW((root + L"file").c_str()));
    EXPECT_FALSE(dir.Has("file"));

    const auto old = std::filesystem::current_path();
    EXPECT_FALSE(SetCurrentDirectoryW((root + L"missing").c_str()));
    EXPECT_EQ(std::filesystem::current_path(), old);
    EXPECT_TRUE(SetCurrentDirectoryW((root + L"new").c_str()));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.Folder() / "new"));
    std::filesystem::current_path(old);
}
}
