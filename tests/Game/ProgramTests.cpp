// The built program on a fixture data root: it opens its window, keeps
// running, and a termination request closes it as the window would.
#include "GameFixture.h"

#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace
{
TEST(GameProgram, RunsUntilATerminationRequestAndExitsWithZero)
{
    hvtest::TempFolder user;
    const hvtest::ScopedEnv userEnv("XDG_DATA_HOME", user.Folder().string());
    gametest::DataRoot data;
    gametest::WriteGameContent(data);
    user.Write("Brenik/BramblecoatWars/profiles.xml",
               "<Profiles currentProfile=\"Tester\"><Profile name=\"Tester\"><fs v=\"false\"/></Profile></Profiles>");

    const pid_t child = hvtest::Spawn(GAME_PROGRAM, {"--data_path", data.Folder().Folder().string()});
    ASSERT_GT(child, 0);
    if (!hvtest::Eventually([&] { return hvtest::ListensForSecondCopies(child); }))
    {
        kill(child, SIGKILL);
        hvtest::Wait(child);
        FAIL() << "the program never opened its window";
    }
    EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "still running";
    kill(child, SIGTERM);
    EXPECT_EQ(hvtest::Wait(child), 0);
    EXPECT_TRUE(user.Has("Brenik/BramblecoatWars/profiles.xml"));
}
} // namespace
