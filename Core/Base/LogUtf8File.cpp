#include "Core/Base/LogUtf8File.h"

#include "Core/Base/TextEncoding.h"

namespace base
{
LogUtf8File::LogUtf8File(const std::wstring& path)
    : mFile(ToNarrow(path, 1), std::ios::out | std::ios::binary | std::ios::trunc)
{
}

void LogUtf8File::Write(const std::wstring& text)
{
    if (!mFile)
        return;
    const std::string utf8 = ToNarrow(text, 1);
    std::string bytes;
    bytes.reserve(utf8.size() + 16);
    for (char c : utf8)
    {
        // The file keeps the line ends of a text-mode file on Windows.
        if (c == '\n')
            bytes.push_back('\r');
        bytes.push_back(c);
    }
    mFile.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    mFile.flush();
}
} // namespace base
