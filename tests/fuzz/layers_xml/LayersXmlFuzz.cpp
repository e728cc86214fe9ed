// The bytes as the "layers.xml" of a layered image stored as a folder: the
// container opened, then every listing and lookup it answers.
#include "Core/Base/ImageInfo.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/ImageFileInfo.h"

#include "support/ScratchFolder.h"
#include "support/TempFolder.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
const wchar_t* const kPictures[] = {L"", L".dds", L".jpg", L".gif", L".png", L".tga"};
constexpr int kPictureCount = 6;

// A scratch data root with its picture folder, made once.
const std::string& ScratchRoot()
{
    static const std::string root = [] {
        const std::string folder = hvtest::MakeScratchFolder("/tmp/hvfuzz-layers-XXXXXX");
        if (mkdir((folder + "/img").c_str(), 0700) != 0)
            abort();
        return folder;
    }();
    return root;
}

void ListAround(file::ImageContainer& image, const std::wstring& group)
{
    for (bool flag : {false, true})
    {
        std::vector<std::wstring> out;
        image.ListLayers(group, flag, out, !flag);
        image.ListLayers(group, !flag, out, flag);
        image.ListGroups(group, out, flag);
    }
    image.HasGroup(group);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = fopen((ScratchRoot() + "/img/layers.xml").c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);
    // The container looks its folder up from the current one; libFuzzer reads
    // a relative corpus from the folder it started in, so it is given back.
    hvtest::CurrentDirectory inRoot(ScratchRoot());

    std::unique_ptr<file::ImageContainer> image(file::FileManager::Instance()->OpenImageContainer(L"img"));
    if (!image)
        abort(); // the folder is there, whatever its description says
    const int count = image->GetLayerCount();
    image->GetLayer(-1);
    image->GetLayer(count);
    ListAround(*image, L"");
    for (int i = 0; i < count; ++i)
    {
        const base::ImageInfo* layer = image->GetLayer(i);
        if (!layer || image->FindLayer(layer->name) != layer)
            abort(); // every listed layer is found under its name
        image->HasLayer(layer->name);
        image->LayerFileExists(layer->name);
        const size_t slash = layer->name.rfind(L'/');
        if (slash != std::wstring::npos)
            ListAround(*image, layer->name.substr(0, slash));
        int found = -1;
        delete image->OpenChild(layer->name, kPictures, kPictureCount, &found);
        delete image->OpenChild(layer->name, nullptr, 0, nullptr);
    }
    image.reset();
    base::testing::TeardownSingletonsNow();
    return 0;
}
