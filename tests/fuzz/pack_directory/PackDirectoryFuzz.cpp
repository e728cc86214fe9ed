// The bytes as a pack file mounted on "nq/": the directory read, every
// lookup, both listings and every entry read to its end.
#include "Core/Base/MemoryStream.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/Archiver.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackDirectory.h"

#include "support/ScratchFolder.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{
const std::string& Folder()
{
    static const std::string folder = hvtest::MakeScratchFolder("/tmp/hvfuzz-pack-XXXXXX") + "/";
    return folder;
}

void Drain(base::Stream* stream)
{
    std::unique_ptr<base::Stream> owned(stream);
    if (!owned)
        return;
    char buffer[4096];
    while (owned->Read(buffer, sizeof(buffer)) != 0)
    {
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        base::MemoryStream stream(data, size);
        file::PackDirectory directory;
        directory.Read(stream);
    }

    const std::string packPath = Folder() + "data.dat";
    FILE* f = fopen(packPath.c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);

    file::FileManager* files = file::FileManager::Instance();
    files->mountTable[L"nq/"] = std::wstring(packPath.begin(), packPath.end());
    std::wstring rest;
    file::Archiver* pack = files->ResolveMount(L"nq/", rest);
    if (pack)
    {
        for (const auto& [name, entry] : pack->GetDirectory().entries)
        {
            files->FileExists(L"nq/" + name);
            files->DirectoryExists(L"nq/" + name);
            Drain(files->OpenStream(L"nq/" + name));
            Drain(pack->OpenStream(name));
            std::vector<std::wstring> out;
            files->ListFiles(L"nq/" + name, false, out, true);
            files->ListDirectories(L"nq/" + name, out, false);
        }
        std::vector<std::wstring> out;
        files->ListFiles(L"nq/", true, out, false);
        files->ListFiles(L"nq/", false, out, true);
        files->ListDirectories(L"nq/", out, true);
    }
    // A fresh file manager, so the next input's pack is read anew.
    base::testing::TeardownSingletonsNow();
    return 0;
}
