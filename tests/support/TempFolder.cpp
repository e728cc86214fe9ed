#include "support/TempFolder.h"

namespace hvtest
{
void TempFolder::Write(const std::string& relative, const std::string& bytes) const
{
    const std::filesystem::path p = Folder() / relative;
    std::filesystem::create_directories(p.parent_path());
    WriteFile(p.string(), bytes);
}

CurrentDirectory::CurrentDirectory(const std::filesystem::path& path)
    : m_old(std::filesystem::current_path())
{
    std::filesystem::current_path(path);
}

CurrentDirectory::~CurrentDirectory()
{
    std::error_code ec;
    std::filesystem::current_path(m_old, ec);
}
}
