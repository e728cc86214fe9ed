#pragma once

#include "Core/File/ImageContainer.h"
#include "Core/File/PsdFileLayer.h"

#include <map>
#include <vector>

struct psdr_image;

namespace file
{
// A layered image stored as a ".psd" document, decoded once when opened. Its
// layers are the picture layers, named by the groups they lie in ("dlg/ok").
// A document that cannot be decoded, or one inside a pack, has no layers.
class PsdFile : public ImageContainer
{
public:
    PsdFile(const std::wstring& path, FileContainer* owner);
    // Takes an already decoded document (owned from now on; may be null).
    PsdFile(const std::wstring& path, FileContainer* owner, psdr_image* document);
    ~PsdFile() override;

    // A copy of the layer's pixels; null for a name that is not a layer.
    base::Stream* OpenStream(const std::wstring& name) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& name) override;

    ImageFileInfo* OpenChild(const std::wstring& name, const wchar_t* const* extensions, int count,
                             int* foundIndex) override;
    base::ImageInfo* FindLayer(const std::wstring& name) override;
    base::ImageInfo* GetLayer(int index) override;
    // Distinct layer names.
    int GetLayerCount() override;
    HVResultEnum ListLayers(const std::wstring& group, bool recursive, std::vector<std::wstring>& out,
                            bool strip) override;
    HVResultEnum ListGroups(const std::wstring& group, std::vector<std::wstring>& out, bool strip) override;
    bool HasLayer(const std::wstring& name) override;
    bool LayerFileExists(const std::wstring& name) override;
    bool HasGroup(const std::wstring& group) override;

private:
    void ReadLayers();

    psdr_image* m_document = nullptr;
    std::map<std::wstring, PsdFileLayer> m_layers;
    // Reading order; a repeated name appears again, pointing at its first entry.
    std::vector<PsdFileLayer*> m_order;
};
}
