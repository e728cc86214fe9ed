#include "Framework/Lightwave/ReadFile.h"

#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"

#include <memory>

namespace lightwave
{
HVResultEnum ReadFile(const std::wstring& path, const std::function<HVResultEnum(base::Stream&)>& reader)
{
    std::unique_ptr<file::FileInfo> entry(file::FileManager::Instance()->Open(path));
    if (!entry)
        return HV_FAIL;
    std::unique_ptr<base::Stream> stream(entry->OpenStream());
    if (!stream)
        return HV_FAIL;
    return reader(*stream);
}
} // namespace lightwave
