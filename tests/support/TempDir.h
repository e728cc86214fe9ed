#pragma once

// A fresh folder below the system's temporary folder, removed with all its
// contents when the object goes.
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

    // The folder with a trailing '/'.
    const std::string& Path() const { return mPath; }
    std::string File(const std::string& name) const { return mPath + name; }
    std::string operator/(const std::string& relative) const { return mPath + relative; }
    std::wstring WFile(const std::string& name) const;

    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);

private:
    std::string mPath;
};
} // namespace hvtest
