#include "Core/File/ImageContainer.h"

#include "Core/File/FileContainer.h"
#include "Core/File/ImageFileInfo.h"

namespace file
{
ImageContainer::ImageContainer(const std::wstring& path, FileContainer* owner)
    : m_path(path)
    , m_owner(owner)
{
}

FileInfo* ImageContainer::Open(const std::wstring& name, const wchar_t* const* extensions, int count,
                               int* foundIndex)
{
    return OpenChild(name, extensions, count, foundIndex);
}

std::wstring ImageContainer::GetChildPath()
{
    return m_owner->GetRootPath() + m_path + L"/";
}

std::wstring ImageContainer::CallerLayerPath(const std::wstring& layer) const
{
    return (m_owner ? m_owner->CallerPath(m_path) : m_path) + L"/" + layer;
}
}
