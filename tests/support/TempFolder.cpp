#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace hvtest
{
TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "hvtest-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::wstring TempFolder::Wide() const
{
    return m_path.wstring() + L"/";
}

void TempFolder::Write(const std::string& relative, const std::string& bytes) const
{
    const std::filesystem::path p = m_path / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::Read(const std::string& relative) const
{
    std::ifstream in(m_path / relative, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempFolder::Exists(const std::string& relative) const
{
    return std::filesystem::exists(m_path / relative);
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
