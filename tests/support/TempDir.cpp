#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace hvtest
{
TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "hvtest-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("mkdtemp failed");
    mPath = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}
} // namespace hvtest
