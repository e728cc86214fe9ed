#pragma once

// A temporary folder with helpers to put files in it and read them back.
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace hvtest
{
class TempFolder : public TempDir
{
public:
    // The folder as a wide path ending in '/'.
    std::wstring Wide() const;

    // Writes a file below the folder, creating its parents.
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
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
