// The play-through: the real program, built from the same libraries and the
// same game factory as the shipped one, started through the same entry and
// played by script through SDL's event queue.
#include "Driver.h"
#include "RunFolder.h"
#include "Runs.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr const char* kUsage =
    "usage: playthrough --run first|return --source ROOT --layouts ROOT --run-root DIR --artifacts DIR "
    "[--step SECONDS] [--turn-limit N]\n";
constexpr const char* kUserFolder = "/Brenik/BramblecoatWars";
} // namespace

int main(int argc, char** argv)
{
    // Scripted turns never wait for the display, however the harness is started.
    setenv("HV_PRESENT_UNPACED", "1", 0);
    playthrough::RunConfig config;
    std::string source, runRoot;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--run")
            config.name = value;
        else if (option == "--source")
            source = value;
        else if (option == "--layouts")
            config.layoutRoot = value;
        else if (option == "--run-root")
            runRoot = value;
        else if (option == "--artifacts")
            config.artifacts = value;
        else if (option == "--step")
            config.step = std::atof(value);
        else if (option == "--turn-limit")
            config.turnLimit = std::atoi(value);
        else
            return std::fputs(kUsage, stderr), 2;
    }
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if ((config.name != "first" && config.name != "return") || source.empty() || config.layoutRoot.empty() ||
        runRoot.empty() || config.artifacts.empty() || !(config.step > 0.0) || config.turnLimit <= 0 || !dataHome)
        return std::fputs(kUsage, stderr), 2;
    config.userFolder = std::string(dataHome) + kUserFolder;
    // The program changes its working folder.
    for (std::string* path : {&source, &runRoot, &config.layoutRoot, &config.artifacts, &config.userFolder})
        *path = std::filesystem::absolute(*path).lexically_normal().string();

    std::string error;
    if (!playthrough::ReproduceDataRoot(source, runRoot, error))
        return std::fprintf(stderr, "playthrough: %s\n", error.c_str()), 1;
    config.sourceRoot = source;
    // The second run's screenshots are numbered from 21.
    constexpr int kReturnFirstShot = 21;
    if (config.name == "return")
        config.firstShot = kReturnFirstShot;
    config.dataRoot = runRoot;

    playthrough::Driver driver(config);
    const bool packed = config.name == "return";
    if (packed)
        playthrough::WriteReturnRun(driver);
    else
        playthrough::WriteFirstRun(driver);
    playthrough::AddAfterExitChecks(driver, packed);

    // The program runs in a process of its own, so that its exit (teardown
    // included) is over before the after-exit checks look at its files.
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return std::perror("playthrough: fork"), 1;
    if (child == 0)
        return driver.RunProgram(argc, argv);
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return std::perror("playthrough: waitpid"), 1;
    return driver.CheckAfterExit(status);
}
