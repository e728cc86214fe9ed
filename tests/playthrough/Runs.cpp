#include "Runs.h"

#include "Game/NQScreenState.h"
#include "RunFolder.h"

#include <tinyxml2.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace playthrough
{
namespace
{
namespace fs = std::filesystem;

// Turns the game gets to load its content and reach the splash screens.
constexpr int kStartTurns = 900;
constexpr const char* kLogEnd = "</body></html>";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Start(Driver& driver)
{
    driver.WaitState("start: the splash screens open", screen::kSplashScreens, kStartTurns);
    driver.GetScript().Check("start: full screen at the display's size", [&driver](std::string& why) {
        const std::optional<DisplayMapping> mapping = driver.Mapping();
        if (!mapping)
            return why = "no display mapping", false;
        // The offscreen driver's one display is the logical size: logical = window.
        const Point corner = ToWindow(*mapping, {1024.0f, 768.0f});
        if (std::abs(corner.x - 1024.0f) > 0.5f || std::abs(corner.y - 768.0f) > 0.5f)
            return why = "the logical corner maps to " + std::to_string(corner.x) + ", " + std::to_string(corner.y),
                   false;
        return true;
    });
}
} // namespace

// The screens after the splash screens (intro video, menus, level select,
// the level's front end, result window and shop) are not in the program
// yet; each run goes as far as the program does and closes its window.
void WriteFirstRun(Driver& driver)
{
    Start(driver);
    driver.NotPlayed("splash screens, intro video, main menu, profile name, episode and level select, level 1 "
                     "with its tutorial, result window, shop, quit through the menu");
    driver.CloseWindow("quit: close the window");
}

void WriteReturnRun(Driver& driver)
{
    Start(driver);
    driver.GetScript().Check("return: the first run's profile is read back", [&driver](std::string& why) {
        tinyxml2::XMLDocument profiles;
        if (profiles.LoadFile(driver.ProfilesPath().c_str()) != tinyxml2::XML_SUCCESS)
            return why = "no profiles.xml from the first run", false;
        return true;
    });
    driver.NotPlayed("taps through the logos and the intro, greeting, saved progress, tutorial skipped, "
                     "in-game menu through a focus loss, the lost level 2, options dialog, quit through the menu");
    driver.CloseWindow("quit: close the window");
}

void AddAfterExitChecks(Driver& driver, bool packed)
{
    driver.AfterExit("profiles.xml parses", [&driver](std::string& why) {
        tinyxml2::XMLDocument profiles;
        if (profiles.LoadFile(driver.ProfilesPath().c_str()) != tinyxml2::XML_SUCCESS ||
            !profiles.FirstChildElement("Profiles"))
            return why = driver.ProfilesPath() + " is missing or does not parse", false;
        return true;
    });
    driver.AfterExit("no temporary profile left", [&driver](std::string& why) {
        if (fs::exists(driver.ProfilesPath() + ".tmp"))
            return why = "profiles.xml.tmp is left", false;
        return true;
    });
    driver.AfterExit("the log is closed", [&driver](std::string& why) {
        const std::string log = ReadFile(driver.LogPath());
        const std::string end = kLogEnd;
        if (log.size() < end.size() || log.compare(log.size() - end.size(), end.size(), end) != 0)
            return why = "log.html does not end with " + end, false;
        return true;
    });
    if (packed)
    {
        driver.AfterExit("no strings file made", [&driver](std::string& why) {
            // The program appends to an existing loose strings file only.
            if (fs::exists(fs::path(driver.Config().dataRoot) / kStringsFile))
                return why = "the packed root has a loose strings file", false;
            return true;
        });
        return;
    }
    driver.AfterExit("strings file unchanged", [&driver](std::string& why) {
        if (ReadFile(fs::path(driver.Config().dataRoot) / kStringsFile) !=
            ReadFile(fs::path(driver.Config().sourceRoot) / kStringsFile))
            return why = "lines were appended to the strings file (keys missing)", false;
        return true;
    });
}
} // namespace playthrough
