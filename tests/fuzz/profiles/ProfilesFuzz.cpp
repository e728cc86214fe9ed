// The bytes as "profiles.xml" of a temporary user-data folder: load, list,
// select a new profile, remove the current one and save.
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"

#include "support/ScratchFolder.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
const std::string& Folder()
{
    static const std::string folder = hvtest::MakeScratchFolder("/tmp/hvfuzz-profiles-XXXXXX") + "/";
    return folder;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Folder() + "profiles.xml";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);

    file::UserDataFileContainer::Instance()->SetRootPath(std::wstring(Folder().begin(), Folder().end()));
    file::Profiles* profiles = file::Profiles::Instance();
    profiles->Load();
    if (!profiles->GetCurrentProfile())
        abort(); // never null after a load
    profiles->GetProfileNames();
    profiles->SelectProfile(L"fuzz \u0444");
    profiles->RemoveProfile(profiles->GetCurrentProfileName());
    if (!profiles->GetCurrentProfile())
        abort();
    if (profiles->Save() != 0)
        abort();
    base::testing::TeardownSingletonsNow();
    return 0;
}
