#include "Core/File/PsdFile.h"

#include "Core/App/Application.h"
#include "Core/Base/LookupMiss.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileContainer.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/File/PsdFileName.h"
#include "Psd/PsdTypes.h"

namespace file
{
PsdFile::PsdFile(const std::wstring& path, FileContainer* owner)
    : ImageContainer(path, owner)
{
    // The decoder reads loose files by itself: a path inside a pack could name an
    // unrelated loose file, so packed documents stay without layers.
    if (!owner || owner->IsPacked())
        return;
    const std::string narrow = base::ToNarrow(owner->GetRootPath() + path, 2);
    if (psdr_load(&m_document, narrow.c_str()) != PSDR_OK)
        m_document = nullptr;
    ReadLayers();
}

PsdFile::PsdFile(const std::wstring& path, FileContainer* owner, psdr_image* document)
    : ImageContainer(path, owner)
    , m_document(document)
{
    ReadLayers();
}

PsdFile::~PsdFile()
{
    m_order.clear();
    m_layers.clear();
    if (m_document)
        psdr_free(m_document);
}

void PsdFile::ReadLayers()
{
    if (!m_document || !m_document->layers)
        return;
    const float scale = app::Application::Instance()->mImageScale;
    std::vector<std::wstring> groups;
    // Record 0, the bottom one, is not a layer of the image.
    for (int i = m_document->layer_count - 1; i >= 1; --i)
    {
        psdr_layer& record = m_document->layers[i];
        const std::wstring own = PsdNameToWide(record.name);
        if (record.type == PSDR_LAYER_FOLDER)
        {
            groups.push_back(own);
            continue;
        }
        if (record.type == PSDR_LAYER_FOLDER_END)
        {
            // An end above its start closes nothing.
            if (!groups.empty())
                groups.pop_back();
            continue;
        }
        std::wstring name;
        for (const std::wstring& group : groups)
            name += group + L"/";
        name += own;

        int x = record.left, y = record.top, w = record.width, h = record.height;
        bool hasImage = true;
        if (name.find(L"|box") != std::wstring::npos)
        {
            hasImage = false;
        }
        else if (name.find(L"|center") != std::wstring::npos)
        {
            x = record.left + record.width / 2;
            y = record.top + record.height / 2;
            w = h = 0;
            hasImage = false;
        }
        const base::ImageInfo info(name, x, y, w, h, record.opacity, i, hasImage, true, scale);
        const auto it = m_layers.emplace(name, PsdFileLayer(info, &record)).first;
        m_order.push_back(&it->second);
    }
}

base::Stream* PsdFile::OpenStream(const std::wstring& name)
{
    const auto it = m_layers.find(name);
    if (it == m_layers.end())
    {
        base::ReportLookupMiss(base::LookupMissKind::Layer, CallerLayerPath(name));
        return nullptr;
    }
    const psdr_layer* record = it->second.record;
    const size_t size = record->pixels ? size_t(record->width) * size_t(record->height) * 4 : 0;
    return new base::MemoryStream(record->pixels, size);
}

base::StreamCreator* PsdFile::OpenStreamCreator(const std::wstring&)
{
    return nullptr;
}

ImageFileInfo* PsdFile::OpenChild(const std::wstring& name, const wchar_t* const* extensions, int count,
                                  int* foundIndex)
{
    const auto it = m_layers.find(name);
    if (it == m_layers.end())
        return nullptr;
    if (foundIndex && extensions)
        for (int i = 0; i < count; ++i)
            if (extensions[i] && extensions[i][0] == L'\0')
                *foundIndex = i;
    return new ImageFileInfo(base::GetBaseName(name), name, this, true, it->second);
}

base::ImageInfo* PsdFile::FindLayer(const std::wstring& name)
{
    const auto it = m_layers.find(name);
    if (it == m_layers.end())
    {
        base::ReportLookupMiss(base::LookupMissKind::Layer, CallerLayerPath(name));
        return nullptr;
    }
    return &it->second;
}

base::ImageInfo* PsdFile::GetLayer(int index)
{
    // Bounded by the layer count, as for folders.
    if (index < 0 || index >= GetLayerCount() || index >= static_cast<int>(m_order.size()))
        return nullptr;
    return m_order[index];
}

int PsdFile::GetLayerCount()
{
    return static_cast<int>(m_layers.size());
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
