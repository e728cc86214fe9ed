#include "TempProfileStore.h"

#include "Core/File/UserDataFileContainer.h"

#include <tinyxml2.h>

namespace gametest
{
namespace
{
const char* const kFileName = "profiles.xml";
}

TempProfileStore::TempProfileStore() { file::UserDataFileContainer::Instance()->SetRootPath(mFolder.Wide()); }

std::string TempProfileStore::FileText() const { return HasFile() ? mFolder.Read(kFileName) : std::string(); }

bool TempProfileStore::HasFile() const { return mFolder.Has(kFileName); }

void TempProfileStore::WriteFile(const std::string& text) const { mFolder.Write(kFileName, text); }

bool TempProfileStore::LoadFile(tinyxml2::XMLDocument& doc) const
{
    if (!HasFile())
        return false;
    const std::string text = FileText();
    return doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
}

std::string TempProfileStore::TemporaryPath() const { return mFolder.File(std::string(kFileName) + ".tmp"); }
} // namespace gametest
