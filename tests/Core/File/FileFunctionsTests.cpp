#include "Core/Base/FileFunctions.h"
#include "FileTestSupport.h"
#include "support/PackBuilder.h"

#include <filesystem>

namespace
{
using namespace std::string_literals;

class FileFunctionsTest : public hvtest::DataRootTest
{
};

TEST_F(FileFunctionsTest, ReadTextFileDropsTheByteOrderMark)
{
    dir.Write("bom.txt", "\xEF\xBB\xBFhello");
    dir.Write("two.txt", "hi");
    dir.Write("half_mark.txt", "\xEF\xBB");
    dir.Write("zero.txt", "ab\0cd"s);
    dir.Write("empty.txt", "");
    dir.Write("plain.txt", "plain text\r\n");
    hvtest::WritePack(dir.Folder() / "data.dat", {{L"packed.txt", "\xEF\xBB\xBFpacked"}});
    Files()->mountTable[L"nq/"] = L"data.dat";

    struct Case
    {
        std::wstring path;
        std::string text;
        bool mark;
    };
    const std::vector<Case> cases = {
        {L"bom.txt", "hello", true},
        {L"two.txt", "hi", false},
        {L"half_mark.txt", "\xEF\xBB", false},
        {L"zero.txt", "ab", false},
        {L"empty.txt", "", false},
        {L"plain.txt", "plain text\r\n", false},
        {L"missing.txt", "", false},
        {L"nq/packed.txt", "packed", true},
    };
    for (const Case& c : cases)
    {
        bool mark = !c.mark;
        EXPECT_EQ(base::ReadTextFile(c.path, &mark), c.text) << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(mark, c.mark) << std::string(c.path.begin(), c.path.end());
    }
    EXPECT_EQ(base::ReadTextFile(L"bom.txt"), "hello");

    EXPECT_EQ(base::ReadWholeFile(L"bom.txt"), "\xEF\xBB\xBFhello");
    EXPECT_EQ(base::ReadWholeFile(L"zero.txt"), "ab");
    EXPECT_EQ(base::ReadWholeFile(L"nq/packed.txt"), "\xEF\xBB\xBFpacked");
    EXPECT_EQ(base::ReadWholeFile(L"missing.txt"), "");
}

TEST_F(FileFunctionsTest, CreateDirectoriesMakesEveryMissingParent)
{
    EXPECT_EQ(base::CreateDirectories(L"a/b/c"), HV_OK);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Folder() / "a/b/c"));
    EXPECT_EQ(base::CreateDirectories(L"a\\b\\d\\"), HV_OK);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Folder() / "a/b/d"));
    EXPECT_EQ(base::CreateDirectories(L"a/b/c/"), HV_OK); // exists

    hvtest::TempFolder other;
    EXPECT_EQ(base::CreateDirectories(other.Wide() + L"x/y/"), HV_OK);
    EXPECT_TRUE(std::filesystem::is_directory(other.Folder() / "x/y"));

    dir.Write("file", "x");
    EXPECT_EQ(base::CreateDirectories(L"file/below"), HV_FAIL);
    EXPECT_EQ(base::CreateDirectoryTree(L"file"), HV_FAIL);
    EXPECT_EQ(base::CreateDirectories(L""), HV_FAIL);
}
}
