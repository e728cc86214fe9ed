#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace hvtest
{
TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "hvtest-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    mRoot = pattern;
    mPath = pattern + "/";
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::wstring TempDir::WFile(const std::string& name) const
{
    // Test paths are ASCII.
    const std::string path = File(name);
    return std::wstring(path.begin(), path.end());
}

void TempDir::WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempDir::Exists(const std::string& path) { return std::filesystem::exists(path); }
} // namespace hvtest
