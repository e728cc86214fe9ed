#include "support/FileBytes.h"

#include <fstream>
#include <sstream>

namespace hvtest
{
void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::wstring Wide(const std::string& path) { return std::wstring(path.begin(), path.end()); }
} // namespace hvtest
