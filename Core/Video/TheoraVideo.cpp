#include "Core/Video/TheoraVideo.h"

#include "Core/Base/Stream.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Render/Image.h"
#include "Core/Video/TheoraDecoder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace video
{
TheoraVideo::TheoraVideo(TheoraVideoListener* listener) : m_listener(listener) {}

TheoraVideo::~TheoraVideo() { Close(); }

void TheoraVideo::Close()
{
    delete m_decoder;
    m_decoder = nullptr;
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_pixelsWidth = m_pixelsHeight = 0;
}

int TheoraVideo::Open(const std::wstring& path)
{
    delete m_decoder;
    m_decoder = new TheoraDecoder();
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->Open(path));
    if (!info)
        return 1;
    base::Stream* stream = info->OpenStream();
    if (!stream)
        return 1;
    const int result = m_decoder->Open(stream);
    if (result == 0)
    {
        m_frameDuration = m_decoder->GetFrameDuration();
        m_elapsed = 0.0f;
        m_frameCounter = 0;
        m_finished = 0;
    }
    return result;
}

uint32_t TheoraVideo::GetWidth() const { return m_decoder ? m_decoder->GetInfo().width : 0; }

uint32_t TheoraVideo::GetHeight() const { return m_decoder ? m_decoder->GetInfo().height : 0; }

int TheoraVideo::Update(float seconds, render::Image* target)
{
    if (!m_decoder || m_finished)
        return 0;
    // A NaN or infinite frame time would poison the clock for good.
    if (!std::isfinite(seconds))
        return 0;
    m_elapsed += seconds;
    const float quotient = m_elapsed / m_frameDuration;
    // Converting a value outside uint32 (or NaN) is undefined: clamp first.
    uint32_t due = 0;
    if (quotient >= 4294967296.0f)
        due = UINT32_MAX;
    else if (quotient > 0.0f)
        due = static_cast<uint32_t>(quotient);
    while (m_frameCounter < due)
    {
        bool end = false;
        const int result = m_decoder->ReadFrame(&end);
        if (result != 0)
            return result;
        if (end)
        {
            m_finished = 1;
            if (m_listener)
                m_listener->OnVideoFinished(this);
            return 0;
        }
        if (m_frameCounter == due - 1 && target)
        {
            const int converted = Convert(target);
            if (converted != 0)
                return converted;
        }
        ++m_frameCounter;
    }
    return 0;
}

int TheoraVideo::Convert(render::Image* target)
{
    const uint32_t width = target->GetPixelWidth(), height = target->GetPixelHeight();
    if (target->CanLock())
    {
        uint32_t sizeInPixels = 0, pitch = 0;
        void* bits = nullptr;
        if (target->Lock(&sizeInPixels, &pitch, &bits) != HV_OK)
            return HV_FAIL;
        // The lock bounds the rows as well as the picture does.
        const uint64_t lockedRows = pitch >= 4 ? uint64_t(sizeInPixels) * 4 / pitch : 0;
        const uint32_t rows = static_cast<uint32_t>(std::min<uint64_t>(height, lockedRows));
        const int safePitch = static_cast<int>(std::min<uint32_t>(pitch, INT_MAX & ~3u));
        m_decoder->ConvertToRGB(safePitch, static_cast<uint32_t*>(bits), width, rows);
        return target->Unlock() != HV_OK ? HV_FAIL : 0;
    }
    if (width != m_pixelsWidth || height != m_pixelsHeight)
    {
        m_pixels.assign(size_t(width) * height, 0);
        m_pixelsWidth = width;
        m_pixelsHeight = height;
    }
    if (m_pixels.empty())
        return 0;
    m_decoder->ConvertToRGB(static_cast<int>(std::min<uint64_t>(uint64_t(width) * 4, INT_MAX & ~3u)), m_pixels.data(),
                            width, height);
    return target->Upload(m_pixels.data()) != HV_OK ? HV_FAIL : 0;
}
} // namespace video
