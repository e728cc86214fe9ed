#pragma once

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
#include <filesystem>
#include <string>

namespace hvtest
{
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder as a wide path ending in '/'.
    std::wstring Wide() const;

    // Writes a file below the folder, creating its parents.
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    std::filesystem::path m_path;
};

// Changes the current directory for a scope.
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const std::filesystem::path& path);
    ~CurrentDirectory();

private:
    std::filesystem::path m_old;
};
}
