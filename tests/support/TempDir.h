#pragma once

// A fresh folder below the system's temporary folder, removed with all its
// contents when the object goes.
#include <filesystem>
#include <string>

namespace hvtest
{
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return mRoot; }
    std::string File(const std::string& name) const { return mPath + name; }
    std::string operator/(const std::string& relative) const { return mPath + relative; }
    std::wstring WFile(const std::string& name) const;

    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);

private:
    std::filesystem::path mRoot;
    std::string mPath; // with a trailing '/'

};
} // namespace hvtest
