#pragma once

// The real profile store (file::Profiles) over a temporary user-data folder.
#include "support/TempFolder.h"

#include <string>

namespace tinyxml2
{
class XMLDocument;
}

namespace gametest
{
class TempProfileStore
{
public:
    // Points the user-data container at a fresh folder; the store reads its
    // file on first use.
    TempProfileStore();

    // "profiles.xml" as on disk; empty when missing.
    std::string FileText() const;
    bool HasFile() const;
    void WriteFile(const std::string& text) const;
    // The file parsed into doc; false when missing or broken.
    bool LoadFile(tinyxml2::XMLDocument& doc) const;
    // The path of the store's temporary file, "profiles.xml.tmp".
    std::string TemporaryPath() const;

    const hvtest::TempFolder& Folder() const { return mFolder; }

private:
    hvtest::TempFolder mFolder;
};
} // namespace gametest
