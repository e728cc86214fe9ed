#include "Runs.h"

#include "RunFolder.h"
#include "RunSteps.h"

#include <tinyxml2.h>

#include <filesystem>

namespace playthrough
{
namespace
{
namespace fs = std::filesystem;

constexpr const char* kLogEnd = "</body></html>";
} // namespace

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
