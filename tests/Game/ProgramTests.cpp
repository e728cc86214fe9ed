// The built program on a fixture data root: it opens its window, keeps
// running, and a termination request closes it as the window would; on a
// damaged data root it says which file is damaged and stops.
#include "GameFixture.h"

#include "support/ChildProcess.h"
#include "support/PackBuilder.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/wait.h>

namespace
{
constexpr int kDamagedDataExitCode = 1;

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The data root's "nq/" files as a pack, their names relative to "nq/"; the
// loose folder goes.
void PackAndRemoveLooseFiles(const gametest::DataRoot& data)
{
    const std::filesystem::path nq = data.Folder().Folder() / "nq";
    hvtest::PackFiles files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(nq))
    {
        if (!entry.is_regular_file())
            continue;
        const std::string name = std::filesystem::relative(entry.path(), nq).generic_string();
        files.emplace_back(std::wstring(name.begin(), name.end()), ReadText(entry.path()));
    }
    const std::string pack = hvtest::BuildPack(files);
    std::filesystem::remove_all(nq);
    // Cut in half, as an interrupted copy leaves it.
    data.Write("data.dat", pack.substr(0, pack.size() / 2));
}

// Each file the game cannot start without, damaged in turn on a data root
// that starts otherwise: the program names it and the data folder in the log,
// opens no box on the offscreen driver, and exits with 1 on its own.
TEST(GameProgram, DamagedDataIsNamedAndTheProgramExitsWithOne)
{
    struct Case
    {
        const char* name;
        std::function<void(const gametest::DataRoot&)> damage;
        const char* file;
    };
    const std::vector<Case> cases = {
        {"strings file missing", [](const gametest::DataRoot& d) { std::filesystem::remove(d.Folder().File("nq/strings_en.csv")); },
         "nq/strings_en.csv"},
        {"particle library unreadable", [](const gametest::DataRoot& d) { d.Write("nq/fx/fx2.ptc", "garbage"); },
         "nq/fx/fx2.ptc"},
        {"font missing", [](const gametest::DataRoot& d) { std::filesystem::remove(d.Folder().File("nq/data/fonts/main_80.fnt")); },
         "nq/data/fonts/main_80"},
        {"HUD layout missing", [](const gametest::DataRoot& d) { std::filesystem::remove_all(d.Folder().File("nq/ui")); },
         "nq/ui"},
        {"pack cut in half", PackAndRemoveLooseFiles, "nq/strings_en.csv"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        hvtest::TempFolder user;
        const hvtest::ScopedEnv userEnv("XDG_DATA_HOME", user.Folder().string());
        gametest::DataRoot data;
        gametest::WriteGameContent(data);
        gametest::WriteRequiredData(data);
        c.damage(data);

        const pid_t child = hvtest::Spawn(GAME_PROGRAM, {"--data_path", data.Folder().Folder().string()});
        ASSERT_GT(child, 0);
        int status = 0;
        if (!hvtest::Eventually([&] { return waitpid(child, &status, WNOHANG) == child; }))
        {
            kill(child, SIGKILL);
            hvtest::Wait(child);
            ADD_FAILURE() << "the program ran on";
            continue;
        }
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), kDamagedDataExitCode);
        const std::string log = ReadText(user.Folder() / "Brenik/BramblecoatWars/log.html");
        EXPECT_NE(log.find(std::string("The game's data are damaged or incomplete: ") + c.file +
                           ". Reinstall the game."),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find("Data folder: " + std::filesystem::canonical(data.Folder().Folder()).string()), std::string::npos);
    }
}

TEST(GameProgram, RunsUntilATerminationRequestAndExitsWithZero)
{
    hvtest::TempFolder user;
    const hvtest::ScopedEnv userEnv("XDG_DATA_HOME", user.Folder().string());
    gametest::DataRoot data;
    gametest::WriteGameContent(data);
    gametest::WriteRequiredData(data);
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
