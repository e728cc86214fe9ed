// The test application as a whole program, and a first copy of it running
// beside the application under test.
#include "ApplicationFixture.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Platform/Win32/SingleInstance.h"
#include "Platform/Win32/Window.h"
#include "support/ChildProcess.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using frameworktest::ApplicationTest;
using hvtest::Eventually;
using hvtest::ListensForSecondCopies;
using hvtest::Spawn;
using hvtest::Wait;
namespace fs = std::filesystem;

// A copy of the test program in the folder: its executable folder is the data root.
std::string InstallProgram(const hvtest::TempFolder& folder)
{
    const fs::path copy = folder.Folder() / "framework_test_program";
    fs::copy_file(TEST_PROGRAM, copy);
    return copy.string();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(ApplicationTest, PackProgramWithABadFileExitsWithOneAndKeepsThePack)
{
    const std::string program = InstallProgram(data);
    data.Write("data.dat", "old pack");
    data.Write("nq/good.txt", "good");
    data.Write("nq/bad\xff.txt", "damaged");
    const std::string command = "'" + program + "' --pack folder 2> '" + data.File("stderr.txt") + "'";
    EXPECT_EQ(hvtest::RunProgram("/bin/sh", {"-c", command}), 1);
    const std::vector<std::string> errors = Lines(data.Read("stderr.txt"));
    // The log's debugger output shares standard error; the report is one line of its own.
    int reports = 0;
    for (const std::string& line : errors)
        if (line.rfind("Pack build failed: ", 0) == 0)
        {
            ++reports;
            EXPECT_NE(line.find("nq/bad"), std::string::npos) << line;
        }
    EXPECT_EQ(reports, 1) << data.Read("stderr.txt");
    EXPECT_EQ(data.Read("data.dat"), "old pack");
    EXPECT_FALSE(data.Has("data.dat.tmp"));
}

TEST_F(ApplicationTest, PackProgramReplacesThePackAndRunsUntilClosed)
{
    const std::string program = InstallProgram(data);
    data.Write("data.dat", "old pack");
    data.Write("nq/a/b.txt", "fresh");
    const pid_t child = Spawn(program, {"--pack", "folder"});
    ASSERT_GT(child, 0);
    EXPECT_TRUE(Eventually([&] { return data.Has("data.dat") && data.Read("data.dat") != "old pack"; }));
    // Still running with its empty board; a termination request closes it like the window would.
    EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0);
    kill(child, SIGTERM);
    EXPECT_EQ(Wait(child), 0);
    EXPECT_NE(data.Read("data.dat").find("hvpack"), std::string::npos);
}

TEST_F(ApplicationTest, FirstCopyRunningMakesInitSucceedWithoutStarting)
{
    hvtest::TempFolder programFolder;
    const std::string program = InstallProgram(programFolder);
    const pid_t first = Spawn(program, {});
    ASSERT_GT(first, 0);
    if (!Eventually([&] { return ListensForSecondCopies(first); }))
    {
        kill(first, SIGKILL);
        Wait(first);
        FAIL() << "the first copy never opened its window";
    }
    const std::wstring userFolder = user.Wide() + L"Framework Test Publisher/Framework Test/";
    win32::SetSingleInstanceFolder(userFolder);
    EXPECT_NE(FindWindowW(L"ApplicationWindow", L"Framework Test Window"), nullptr);

    EXPECT_EQ(Start(DataRootArguments()), HV_OK);
    EXPECT_TRUE(application->mStopRequested);
    EXPECT_EQ(application->mFrameManager, nullptr);
    EXPECT_EQ(application->mInitGameRuns, 0);
    ASSERT_NE(application->mRender, nullptr);
    EXPECT_EQ(static_cast<render::RenderDX9*>(application->mRender)->GetDevice(), nullptr) << "no InitRender";

    kill(first, SIGTERM);
    EXPECT_EQ(Wait(first), 0);
}
} // namespace
