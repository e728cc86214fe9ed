#include "support/ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <vector>

namespace hvtest
{
namespace
{
std::vector<std::string>& Folders()
{
    // Never destroyed: the exit handler below still reads it.
    static auto* folders = new std::vector<std::string>;
    return *folders;
}

void RemoveFolders()
{
    for (const std::string& folder : Folders())
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}
} // namespace

std::string MakeScratchFolder(std::string pattern)
{
    if (!::mkdtemp(pattern.data()))
        std::abort();
    if (Folders().empty() && std::atexit(RemoveFolders) != 0)
        std::abort();
    Folders().push_back(pattern);
    return pattern;
}
} // namespace hvtest
