#pragma once

#include <filesystem>
#include <string>

namespace hvtest
{
// A fresh folder below the system's temporary folder, removed with its contents.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    std::string operator/(const std::string& relative) const { return (mPath / relative).string(); }

private:
    std::filesystem::path mPath;
};
} // namespace hvtest
