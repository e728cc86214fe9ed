#include "Core/Sound/ResourceSound.h"

#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Base/Stream.h"
#include "Core/Resource/ResourceManager.h"

#include <memory>
#include <vector>

namespace resource
{
namespace
{
const wchar_t* const kSoundExtensions[] = {L"", L".ogg", L".wav"};
}

HVResultEnum ResourceSound::Release()
{
    return ResourceManager::Instance()->Remove<ResourceSound>(this);
}

HVResultEnum ResourceSound::DoLoad()
{
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->Open(GetName(), kSoundExtensions, 3, nullptr));
    if (!info)
        return HV_FAIL;
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    if (stream)
    {
        std::vector<unsigned char> block(stream->Size());
        uint32_t got = block.empty() ? 0 : stream->Read(block.data(), static_cast<uint32_t>(block.size()));
        // A refused file leaves the sample 0: the sound plays nothing.
        m_sample = BASS_SampleLoad(TRUE, block.data(), 0, got, 65535, 0);
    }
    return HV_OK;
}

HVResultEnum ResourceSound::DoUnLoad()
{
    BASS_SampleFree(m_sample);
    m_sample = 0;
    return HV_OK;
}
} // namespace resource
