#include "Platform/Win32/Files.h"
#include "Platform/Win32/LastError.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{
class FilesTest : public ::testing::Test
{
protected:
    HANDLE Open(const std::string& name, DWORD access, DWORD disposition)
    {
        return CreateFileW(dir.WFile(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           disposition, 0, nullptr);
    }

    hvtest::TempDir dir;
};

TEST_F(FilesTest, WritesReadsSeeksAndSizes)
{
    HANDLE h = Open("a.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &done, nullptr));
    EXPECT_EQ(done, 10u);
    EXPECT_EQ(GetFileSize(h, nullptr), 10u);
    EXPECT_EQ(SetFilePointer(h, -4, nullptr, FILE_END), 6u);
    EXPECT_EQ(SetFilePointer(h, 1, nullptr, FILE_CURRENT), 7u);
    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(done, 3u); // short at the end of the file, still a success
    EXPECT_EQ(std::string(buffer, 3), "789");
    ASSERT_TRUE(ReadFile(h, buffer, 4, &done, nullptr));
    EXPECT_EQ(done, 0u);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(hvtest::TempDir::ReadFile(dir.File("a.bin")), "0123456789");
}

TEST_F(FilesTest, NegativeSeekFailsAndKeepsThePosition)
{
    HANDLE h = Open("a.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(WriteFile(h, "abcdef", 6, nullptr, nullptr));
    ASSERT_EQ(SetFilePointer(h, 2, nullptr, FILE_BEGIN), 2u);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 2u);
    EXPECT_EQ(SetFilePointer(h, -7, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 2u);
    CloseHandle(h);
}

TEST_F(FilesTest, DispositionsAndFailuresSetTheLastError)
{
    hvtest::TempDir::WriteFile(dir.File("old.txt"), "keep");
    struct Case
    {
        std::string name;
        DWORD access;
        DWORD disposition;
        DWORD error; // ERROR_SUCCESS: the open succeeds
    };
    const Case cases[] = {
        {"missing.txt", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"old.txt", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
        {"new.txt", GENERIC_WRITE, CREATE_NEW, ERROR_SUCCESS},
        {"old.txt", GENERIC_READ, OPEN_EXISTING, ERROR_SUCCESS},
        {"", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED}, // the folder itself
        {"", GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"no/such/folder.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_FILE_NOT_FOUND},
        {"old.txt", GENERIC_READ, 77, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name + " " + std::to_string(c.disposition));
        SetLastError(ERROR_SUCCESS);
        HANDLE h = Open(c.name, c.access, c.disposition);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.error == ERROR_SUCCESS);
        if (h != INVALID_HANDLE_VALUE)
        {
            EXPECT_TRUE(CloseHandle(h));
        }
    }
    EXPECT_EQ(hvtest::TempDir::ReadFile(dir.File("old.txt")), "keep");
}

TEST_F(FilesTest, CreateAlwaysTruncatesAndBackslashesSeparate)
{
    std::filesystem::create_directory(dir.File("sub"));
    hvtest::TempDir::WriteFile(dir.File("sub/f.txt"), "long old text");
    HANDLE h = Open("sub\\f.txt", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(WriteFile(h, "new", 3, nullptr, nullptr));
    CloseHandle(h);
    EXPECT_EQ(hvtest::TempDir::ReadFile(dir.File("sub/f.txt")), "new");
}

TEST_F(FilesTest, NonAsciiPathIsUtf8)
{
    const std::wstring path = dir.WFile("") + L"\u0444\u0430\u0439\u043B.txt";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(hvtest::TempDir::Exists(dir.File("\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.txt")));
}

TEST_F(FilesTest, AccessIsEnforcedAndBadHandlesFail)
{
    hvtest::TempDir::WriteFile(dir.File("r.txt"), "data");
    HANDLE h = Open("r.txt", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done = 99;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(WriteFile(h, "x", 1, &done, nullptr));
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(h);
    EXPECT_EQ(hvtest::TempDir::ReadFile(dir.File("r.txt")), "data");

    char buffer[4];
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, buffer, 4, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetFilePointer(INVALID_HANDLE_VALUE, 0, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(CloseHandle(nullptr));
}
} // namespace
