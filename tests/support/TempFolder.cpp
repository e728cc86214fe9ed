#include "support/TempFolder.h"

#include <fstream>
#include <sstream>

namespace hvtest
{
std::wstring TempFolder::Wide() const
{
    return Path().wstring() + L"/";
}

void TempFolder::Write(const std::string& relative, const std::string& bytes) const
{
    const std::filesystem::path p = Path() / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::Read(const std::string& relative) const
{
    std::ifstream in(Path() / relative, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempFolder::Exists(const std::string& relative) const
{
    return std::filesystem::exists(Path() / relative);
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
