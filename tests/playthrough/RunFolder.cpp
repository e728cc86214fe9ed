#include "RunFolder.h"

#include <filesystem>

namespace playthrough
{
namespace fs = std::filesystem;

namespace
{
const char* const kContentEntries[] = {"nq", "data.dat", "data", "logo"};

// Hard links where the file system allows them, copies elsewhere.
void LinkOrCopy(const fs::path& from, const fs::path& to, std::error_code& error)
{
    fs::create_hard_link(from, to, error);
    if (error)
    {
        error.clear();
        fs::copy_file(from, to, error);
    }
}
} // namespace

bool ReproduceDataRoot(const std::string& source, const std::string& runRoot, std::string& error)
{
    std::error_code code;
    fs::remove_all(runRoot, code);
    fs::create_directories(runRoot, code);
    if (code)
    {
        error = "cannot make " + runRoot + ": " + code.message();
        return false;
    }
    int found = 0;
    for (const char* entry : kContentEntries)
    {
        const fs::path from = fs::path(source) / entry;
        if (!fs::exists(from))
            continue;
        ++found;
        const fs::path to = fs::path(runRoot) / entry;
        if (fs::is_regular_file(from))
        {
            LinkOrCopy(from, to, code);
        }
        else
        {
            for (const fs::directory_entry& item : fs::recursive_directory_iterator(from, code))
            {
                const fs::path target = to / fs::relative(item.path(), from);
                if (item.is_directory())
                    fs::create_directories(target, code);
                else
                {
                    fs::create_directories(target.parent_path(), code);
                    LinkOrCopy(item.path(), target, code);
                }
                if (code)
                    break;
            }
            fs::create_directories(to, code);
        }
        if (code)
        {
            error = "cannot reproduce " + from.string() + ": " + code.message();
            return false;
        }
    }
    if (found == 0)
    {
        error = source + " holds no data";
        return false;
    }
    // A copy, not a link: the program may append to it.
    const fs::path strings = fs::path(runRoot) / kStringsFile;
    if (fs::exists(strings))
    {
        const fs::path original = fs::path(source) / kStringsFile;
        fs::remove(strings, code);
        fs::copy_file(original, strings, code);
        if (code)
        {
            error = "cannot copy the strings file: " + code.message();
            return false;
        }
    }
    return true;
}
} // namespace playthrough
