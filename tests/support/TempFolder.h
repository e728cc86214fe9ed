#pragma once

// A temporary folder with helpers that put files below it and read them back.
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace hvtest
{
class TempFolder : public TempDir
{
public:
    std::filesystem::path Folder() const { return std::filesystem::path(Path()); }
    // The folder as a wide path ending in '/'.
    std::wstring Wide() const { return WFile(""); }

    // Writes a file below the folder, creating its parents.
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const { return ReadFile(File(relative)); }
    bool Has(const std::string& relative) const { return Exists(File(relative)); }
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
