#include "Core/File/FileInfo.h"

#include "Core/File/Container.h"

namespace file
{
FileInfo::FileInfo(const std::wstring& name, const std::wstring& path, Container* container, bool packed)
    : m_name(name)
    , m_path(path)
    , m_container(container)
    , m_packed(packed)
{
}

base::Stream* FileInfo::OpenStream() const
{
    return m_container ? m_container->OpenStream(m_path) : nullptr;
}
}
