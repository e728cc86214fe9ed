#pragma once

#include <string>

namespace base
{
class Stream;
class StreamCreator;
}

namespace file
{
class FileInfo;

// A named-file store: opens files as streams and answers for its root.
// Extension lists are arrays of wide strings with their count; a count of 0
// means no list. Everything returned by pointer is new and the caller's.
class Container
{
public:
    virtual ~Container() = default;

    virtual FileInfo* Open(const std::wstring& path, const wchar_t* const* extensions = nullptr, int count = 0,
                           int* foundIndex = nullptr) = 0;
    virtual base::Stream* OpenStream(const std::wstring& path) = 0;
    virtual base::StreamCreator* OpenStreamCreator(const std::wstring& path) = 0;
    virtual std::wstring GetRootPath() = 0;
};
}
