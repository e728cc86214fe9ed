#include "Core/File/Archiver.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"
#include "Core/Base/StreamCreator.h"

#include <set>

namespace file
{
namespace
{
bool StartsWith(const std::wstring& s, const std::wstring& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}
}

Archiver::Archiver(const std::wstring& prefix, const std::wstring& packPath, FileContainer* owner)
    : FileContainer(true)
    , m_owner(owner)
    , m_prefix(prefix)
    , m_packPath(packPath)
{
    base::FileStream stream;
    if (stream.GetFile().Open(PackFilePath(), 0, 2) == HV_OK)
        m_directory.Read(stream); // damage keeps what was read before it
}

std::wstring Archiver::PackFilePath() const
{
    return m_owner->GetRootPath() + m_packPath;
}

std::wstring Archiver::GetRootPath()
{
    return m_owner->GetRootPath() + m_prefix;
}

base::Stream* Archiver::OpenStream(const std::wstring& name)
{
    const auto it = m_directory.entries.find(name);
    if (it == m_directory.entries.end())
        return nullptr;
    // A pack that became unreadable still gives a window, whose reads fail.
    auto* inner = new base::FileStream;
    inner->GetFile().Open(PackFilePath(), 0, 2);
    return new base::FrameStream(inner, true, it->second.offset, it->second.size);
}

base::StreamCreator* Archiver::OpenStreamCreator(const std::wstring& name)
{
    const auto it = m_directory.entries.find(name);
    if (it == m_directory.entries.end())
        return nullptr;
    return new base::FrameStreamCreator(new base::FileStreamCreator(PackFilePath(), 0, 2), true,
                                        it->second.offset, it->second.size);
}

bool Archiver::DoFileExists(const std::wstring& name, const wchar_t* const* extensions, int count,
                            int* foundIndex)
{
    if (!HasExtensionList(extensions, count))
        return m_directory.entries.count(name) != 0;
    for (int i = 0; i < count; ++i)
    {
        if (m_directory.entries.count(name + extensions[i]))
        {
            if (foundIndex)
                *foundIndex = i;
            return true;
        }
    }
    return false;
}

bool Archiver::DoDirectoryExists(const std::wstring& name)
{
    const std::wstring folder = name + L"/";
    // Names below the folder follow it directly in the directory order.
    const auto it = m_directory.entries.lower_bound(folder);
    return it != m_directory.entries.end() && StartsWith(it->first, folder);
}

HVResultEnum Archiver::DoListFiles(const std::wstring& full, const std::wstring& folder, const std::wstring& sub,
                                   bool recursive, std::vector<std::wstring>& out, bool relative)
{
    const std::wstring p = folder + sub;
    for (auto it = m_directory.entries.lower_bound(p); it != m_directory.entries.end(); ++it)
    {
        if (!StartsWith(it->first, p))
            break;
        const std::wstring rest = it->first.substr(p.size());
        if (recursive || rest.find(L'/') == std::wstring::npos)
            out.push_back(relative ? rest : full + rest);
    }
    return HV_OK;
}

HVResultEnum Archiver::DoListDirectories(const std::wstring& full, const std::wstring& folder,
                                         const std::wstring& sub, std::vector<std::wstring>& out, bool relative)
{
    const std::wstring p = folder + sub;
    std::set<std::wstring, PackNameLess> names;
    for (auto it = m_directory.entries.lower_bound(p); it != m_directory.entries.end(); ++it)
    {
        if (!StartsWith(it->first, p))
            break;
        const size_t slash = it->first.find(L'/', p.size());
        if (slash != std::wstring::npos)
            names.insert(it->first.substr(p.size(), slash - p.size()));
    }
    for (const std::wstring& name : names)
        out.push_back(relative ? name : full + name);
    return HV_OK;
}
}
