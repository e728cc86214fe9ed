#include "Platform/Win32/Clock.h"
#include "Platform/Win32/DebugOutput.h"
#include "Platform/Win32/Folders.h"
#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Threads.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace
{
TEST(DebugOutput, WritesUtf8ToStandardErrorAsIs)
{
    ::testing::internal::CaptureStderr();
    OutputDebugStringW(L"caf\x00E9 \x041F\n");
    OutputDebugStringW(L"no newline");
    OutputDebugStringW(std::wstring(1, wchar_t(0xD800)).c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "caf\xC3\xA9 \xD0\x9F\nno newline\xEF\xBF\xBD");
}

TEST(Clock, NanosecondCounterAndHook)
{
    LARGE_INTEGER frequency, a, b;
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(frequency.QuadPart, 1000000000);
    QueryPerformanceCounter(&a);
    QueryPerformanceCounter(&b);
    EXPECT_LE(a.QuadPart, b.QuadPart);
    win32::testing::SetPerformanceCounterHook([] { return LONGLONG(1234); });
    QueryPerformanceCounter(&a);
    win32::testing::SetPerformanceCounterHook(nullptr);
    EXPECT_EQ(a.QuadPart, 1234);
}

DWORD Routine(LPVOID)
{
    return 0;
}

TEST(Threads, OnlySuspendedCreationAndPriorityIsStored)
{
    int parameter = 0;
    HANDLE thread = CreateThread(nullptr, 0, Routine, &parameter, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    auto* record = dynamic_cast<win32::ThreadRecord*>(static_cast<win32::KernelObject*>(thread));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->routine, &Routine);
    EXPECT_EQ(record->parameter, &parameter);
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(record->priority, THREAD_PRIORITY_HIGHEST);
    EXPECT_TRUE(CloseHandle(thread));

    SetLastError(0);
    EXPECT_EQ(CreateThread(nullptr, 0, Routine, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(CloseHandle(nullptr));
}

TEST(Folders, ResultsAndErrors)
{
    hvtest::TempDir temp;
    const std::string home = temp / "home";
    std::filesystem::create_directory(home);
    hvtest::ScopedEnv homeEnv("HOME", home);
    WCHAR path[PATH_MAX];

    {
        hvtest::ScopedEnv xdg("XDG_DATA_HOME", temp / "a/b/c");
        ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path), S_OK);
        EXPECT_EQ(std::filesystem::path(path), std::filesystem::path(temp / "a/b/c"));
        EXPECT_TRUE(std::filesystem::is_directory(temp / "a/b/c"));
    }
    {
        // Too long for the buffer: an error, but not the one that sends the
        // engine to the documents folder.
        hvtest::ScopedEnv xdg("XDG_DATA_HOME", "/" + std::string(PATH_MAX, 'x'));
        const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
        EXPECT_TRUE(FAILED(hr));
        EXPECT_NE(hr, E_FAIL);
    }
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, path), S_OK);
    EXPECT_EQ(std::filesystem::path(path), std::filesystem::path(home));
    {
        hvtest::ScopedEnv noHome("HOME", temp / "nowhere");
        EXPECT_TRUE(FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, path)));
    }
}
} // namespace
