// The bytes as the "layers.xml" of a layered image stored as a folder: the
// container opened, then every listing and lookup it answers.
#include "Core/Base/ImageInfo.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/ImageFileInfo.h"

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

// A scratch data root, made the current folder once.
void EnterScratchRoot()
{
    static const bool entered = [] {
        char pattern[] = "/tmp/hvfuzz-layers-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0 || mkdir("img", 0700) != 0)
            abort();
        return true;
    }();
    (void)entered;
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
    EnterScratchRoot();
    FILE* f = fopen("img/layers.xml", "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);

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
