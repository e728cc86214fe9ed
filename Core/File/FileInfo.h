#pragma once

#include <string>

namespace base
{
class Stream;
}

namespace file
{
class Container;

// An opened entry of a container.
class FileInfo
{
public:
    FileInfo(const std::wstring& name, const std::wstring& path, Container* container, bool packed);
    virtual ~FileInfo() = default;

    // A new stream on the entry, or null.
    base::Stream* OpenStream() const;

    // The file-name part of the request, without the matched extension.
    const std::wstring& GetName() const { return m_name; }
    // The request plus the matched extension, relative to the container.
    const std::wstring& GetPath() const { return m_path; }
    Container* GetContainer() const { return m_container; }
    bool IsPacked() const { return m_packed; }

private:
    std::wstring m_name;
    std::wstring m_path;
    Container* m_container; // not owned
    bool m_packed;
};
}
