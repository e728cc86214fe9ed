#include "Core/File/PsdFile.h"

namespace file
{
PsdFile::PsdFile(const std::wstring& path, FileContainer* owner)
    : ImageContainer(path, owner)
{
}

base::Stream* PsdFile::OpenStream(const std::wstring&)
{
    return nullptr;
}

base::StreamCreator* PsdFile::OpenStreamCreator(const std::wstring&)
{
    return nullptr;
}

ImageFileInfo* PsdFile::OpenChild(const std::wstring&, const wchar_t* const*, int, int*)
{
    return nullptr;
}

base::ImageInfo* PsdFile::FindLayer(const std::wstring&)
{
    return nullptr;
}

base::ImageInfo* PsdFile::GetLayer(int)
{
    return nullptr;
}

int PsdFile::GetLayerCount()
{
    return 0;
}

HVResultEnum PsdFile::ListLayers(const std::wstring&, bool, std::vector<std::wstring>&, bool)
{
    return HV_OK;
}

HVResultEnum PsdFile::ListGroups(const std::wstring&, std::vector<std::wstring>&, bool)
{
    return HV_OK;
}

bool PsdFile::HasLayer(const std::wstring&)
{
    return false;
}

bool PsdFile::LayerFileExists(const std::wstring&)
{
    return false;
}

bool PsdFile::HasGroup(const std::wstring&)
{
    return false;
}
}
