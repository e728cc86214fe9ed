#include "Platform/Win32/SingleInstance.h"
#include "support/RunProgram.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace testwin;

namespace
{
int RunChild(const std::string& folder, const char* cls, const char* caption)
{
    return hvtest::RunProgram(SINGLE_INSTANCE_CHILD, {folder, cls, caption});
}

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/hv-instance-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        folder = tmpl;
        win32::SetSingleInstanceFolder(std::wstring(folder.begin(), folder.end()));
    }
    void TearDown() override
    {
        win32::SetSingleInstanceFolder(L"");
        CurrentRecorder() = nullptr;
        std::filesystem::remove_all(folder);
    }
    std::string folder;
};

TEST_F(SingleInstanceTest, SecondCopyFindsTheFirstAndAsksItToRestore)
{
    EXPECT_EQ(FindWindowW(L"TestWindow", L"First copy"), nullptr) << "takes the lock";
    Recorder rec;
    HWND hwnd = MakeWindow(rec, kWindowed, {100, 100, 740, 610}, L"First copy");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(FindWindowW(L"TestWindow", L"First copy"), hwnd) << "a process finds its own window";
    PumpAll(nullptr);

    const unsigned before = win32::GetRestoreRequestCount();
    EXPECT_EQ(RunChild(folder, "TestWindow", "First copy"), 2);
    EXPECT_EQ(RunChild(folder, "TestWindow", "Another caption"), 0);
    PumpAll(nullptr);
    EXPECT_EQ(win32::GetRestoreRequestCount(), before + 1);

    DestroyWindow(hwnd);
    EXPECT_EQ(RunChild(folder, "TestWindow", "First copy"), 0) << "the lock went with the window";
}

TEST_F(SingleInstanceTest, NothingIsFoundWithoutAFolder)
{
    win32::SetSingleInstanceFolder(L"");
    EXPECT_EQ(FindWindowW(L"TestWindow", L"No folder"), nullptr);
    EXPECT_EQ(FindWindowW(L"TestWindow", L"No folder"), nullptr);
}
} // namespace
