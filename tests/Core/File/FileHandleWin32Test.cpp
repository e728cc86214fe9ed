#include "Core/File/FileHandleWin32.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{
class FileHandleTest : public ::testing::Test
{
protected:
    hvtest::TempDir dir;
};

TEST_F(FileHandleTest, OpenResults)
{
    hvtest::TempDir::WriteFile(dir.File("old.txt"), "old");
    const struct
    {
        std::string name;
        int access, disposition;
        HVResultEnum result;
    } cases[] = {
        {"missing.txt", 0, 2, HV_FAIL},
        {"old.txt", 1, 1, HV_FAIL},
        {"", 0, 2, HV_FAIL}, // a folder
        {"old.txt", 0, 3, HV_FAIL},
        {"old.txt", 0, 2, HV_OK},
        {"old.txt", 5, 2, HV_OK}, // no access at all still opens, as on Windows
        {"new.txt", 1, 1, HV_OK},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name + " " + std::to_string(c.access) + " " + std::to_string(c.disposition));
        file::FileHandleWin32 handle;
        EXPECT_EQ(handle.Open(dir.WFile(c.name), c.access, c.disposition), c.result);
        EXPECT_EQ(handle.IsOpen(), c.result == HV_OK);
        EXPECT_EQ(handle.Close(), c.result);
    }
}

TEST_F(FileHandleTest, ReadWriteSeekAndClose)
{
    file::FileHandleWin32 handle;
    ASSERT_EQ(handle.Open(dir.WFile("f.bin"), 2, 0), HV_OK);
    EXPECT_EQ(handle.GetPath(), dir.WFile("f.bin"));
    uint32_t count = 0;
    ASSERT_EQ(handle.Write("hello world", 11, &count), HV_OK);
    EXPECT_EQ(count, 11u);
    EXPECT_EQ(handle.Seek(6, 0), 6u);
    EXPECT_EQ(handle.Seek(-100, 1), 6u); // a negative position keeps the old one
    EXPECT_EQ(handle.Seek(-5, 2), 6u);
    char buffer[16];
    ASSERT_EQ(handle.Read(buffer, 16, &count), HV_OK);
    EXPECT_EQ(std::string(buffer, count), "world");
    EXPECT_EQ(handle.Close(), HV_OK);
    EXPECT_EQ(handle.GetPath(), L"");
    EXPECT_EQ(handle.Close(), HV_FAIL);
    EXPECT_EQ(handle.Read(buffer, 4, &count), HV_FAIL);
    EXPECT_EQ(handle.Write("x", 1, &count), HV_FAIL);
}

TEST_F(FileHandleTest, ReopeningClosesTheEarlierHandle)
{
    hvtest::TempDir::WriteFile(dir.File("a.txt"), "aaa");
    hvtest::TempDir::WriteFile(dir.File("b.txt"), "bbb");
    file::FileHandleWin32 handle;
    ASSERT_EQ(handle.Open(dir.WFile("a.txt"), 0, 2), HV_OK);
    const size_t before = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    ASSERT_EQ(handle.Open(dir.WFile("b.txt"), 0, 2), HV_OK);
    const size_t after = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    EXPECT_EQ(after, before);
    char buffer[4];
    uint32_t count = 0;
    ASSERT_EQ(handle.Read(buffer, 3, &count), HV_OK);
    EXPECT_EQ(std::string(buffer, count), "bbb");
}

// How the strings file gets a line appended.
TEST_F(FileHandleTest, AppendPattern)
{
    const auto append = [](const std::wstring& path, const std::string& line) {
        file::FileHandleWin32 handle;
        handle.Open(path, 2, 2);
        handle.Seek(0, 2);
        handle.Write(line.data(), static_cast<uint32_t>(line.size()));
        handle.Close();
    };
    hvtest::TempDir::WriteFile(dir.File("strings.csv"), "a;1\n");
    append(dir.WFile("strings.csv"), "b;2\n");
    EXPECT_EQ(hvtest::TempDir::ReadFile(dir.File("strings.csv")), "a;1\nb;2\n");
    append(dir.WFile("missing.csv"), "c;3\n");
    EXPECT_FALSE(hvtest::TempDir::Exists(dir.File("missing.csv")));
}
} // namespace
