#pragma once

#include "Core/File/ImageContainer.h"

namespace file
{
// A layered image stored as a ".psd" document. Until documents are decoded it
// is the container of a document that could not be decoded: it has no layers.
class PsdFile : public ImageContainer
{
public:
    PsdFile(const std::wstring& path, FileContainer* owner);

    base::Stream* OpenStream(const std::wstring& name) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& name) override;

    ImageFileInfo* OpenChild(const std::wstring& name, const wchar_t* const* extensions, int count,
                             int* foundIndex) override;
    base::ImageInfo* FindLayer(const std::wstring& name) override;
    base::ImageInfo* GetLayer(int index) override;
    int GetLayerCount() override;
    HVResultEnum ListLayers(const std::wstring& group, bool recursive, std::vector<std::wstring>& out,
                            bool strip) override;
    HVResultEnum ListGroups(const std::wstring& group, std::vector<std::wstring>& out, bool strip) override;
    bool HasLayer(const std::wstring& name) override;
    bool LayerFileExists(const std::wstring& name) override;
    bool HasGroup(const std::wstring& group) override;
};
}
