#pragma once

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"

#include <map>
#include <vector>

namespace file
{
// A layered image stored as a folder: "layers.xml" describes the layers and
// each layer's picture is a file of the folder named like the layer.
class PsdFolder : public ImageContainer
{
public:
    // Reads path + "/layers.xml" through the owner; missing or damaged
    // descriptions leave the image without layers.
    PsdFolder(const std::wstring& path, FileContainer* owner);

    base::Stream* OpenStream(const std::wstring& name) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& name) override;

    ImageFileInfo* OpenChild(const std::wstring& name, const wchar_t* const* extensions, int count,
                             int* foundIndex) override;
    base::ImageInfo* FindLayer(const std::wstring& name) override;
    base::ImageInfo* GetLayer(int index) override;
    int GetLayerCount() override;
    // Groups are normalised and lower-cased (A to Z only); stored names are not.
    HVResultEnum ListLayers(const std::wstring& group, bool recursive, std::vector<std::wstring>& out,
                            bool strip) override;
    HVResultEnum ListGroups(const std::wstring& group, std::vector<std::wstring>& out, bool strip) override;
    bool HasLayer(const std::wstring& name) override;
    bool LayerFileExists(const std::wstring& name) override;
    bool HasGroup(const std::wstring& group) override;

private:
    void ReadLayers();

    std::map<std::wstring, base::ImageInfo> m_layers;
    // Reading order; a repeated name appears again, pointing at its first description.
    std::vector<base::ImageInfo*> m_order;
};
}
