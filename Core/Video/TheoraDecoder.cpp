#include "Core/Video/TheoraDecoder.h"

#include "Core/Base/Stream.h"
#include "Core/Video/YuvToRgb.h"

#include <cstring>

namespace video
{
namespace
{
constexpr uint32_t kBlockSize = 8192;
}

TheoraDecoder::TheoraDecoder() { Zero(); }

TheoraDecoder::~TheoraDecoder() { Close(); }

// Clearing a zeroed Ogg or Theora state is harmless, so every state starts
// zeroed and Close works after a failure at any step.
void TheoraDecoder::Zero()
{
    std::memset(&m_streamState, 0, sizeof(m_streamState));
    std::memset(&m_syncState, 0, sizeof(m_syncState));
    std::memset(&m_page, 0, sizeof(m_page));
    std::memset(&m_packet, 0, sizeof(m_packet));
    std::memset(&m_comment, 0, sizeof(m_comment));
    std::memset(&m_info, 0, sizeof(m_info));
    std::memset(&m_state, 0, sizeof(m_state));
    std::memset(&m_yuv, 0, sizeof(m_yuv));
}

bool TheoraDecoder::ReadBlock()
{
    char* buffer = ogg_sync_buffer(&m_syncState, kBlockSize);
    if (!buffer)
        return false;
    const uint32_t got = m_stream->Read(buffer, kBlockSize);
    if (got == 0)
        return false;
    ogg_sync_wrote(&m_syncState, static_cast<long>(got));
    return true;
}

int TheoraDecoder::Open(base::Stream* stream)
{
    Close();
    m_stream = stream;
    if (!m_stream)
        return 1;
    // A half-opened decoder would hand data packets to an uninitialised
    // Theora state: drop everything instead.
    if (ReadHeaders() != 0)
    {
        Close();
        return 1;
    }
    return 0;
}

int TheoraDecoder::ReadHeaders()
{
    ogg_sync_init(&m_syncState);
    theora_comment_init(&m_comment);
    theora_info_init(&m_info);
    int headers = 0;

    // Beginning-of-stream pages until the first other page.
    bool searching = true;
    while (searching)
    {
        if (!ReadBlock())
            return 1;
        int got;
        while (searching && (got = ogg_sync_pageout(&m_syncState, &m_page)) != 0)
        {
            if (got < 0)
                continue; // skipped bytes before a page
            if (!ogg_page_bos(&m_page))
            {
                ogg_stream_pagein(&m_streamState, &m_page);
                searching = false;
                break;
            }
            ogg_stream_state fresh;
            std::memset(&fresh, 0, sizeof(fresh));
            if (ogg_stream_init(&fresh, ogg_page_serialno(&m_page)) != 0)
                return 1;
            if (ogg_stream_pagein(&fresh, &m_page) != 0 || ogg_stream_packetout(&fresh, &m_packet) != 1)
            {
                ogg_stream_clear(&fresh);
                return 1;
            }
            if (headers == 0 && theora_decode_header(&m_info, &m_comment, &m_packet) >= 0)
            {
                m_streamState = fresh;
                headers = 1;
            }
            else
                ogg_stream_clear(&fresh); // not Theora, or a stream beside it
        }
    }

    while (headers < 3)
    {
        const int got = ogg_stream_packetout(&m_streamState, &m_packet);
        if (got < 0)
            return 1;
        if (got > 0)
        {
            if (theora_decode_header(&m_info, &m_comment, &m_packet) < 0)
                return 1;
            ++headers;
            continue;
        }
        const int paged = ogg_sync_pageout(&m_syncState, &m_page);
        if (paged > 0)
            ogg_stream_pagein(&m_streamState, &m_page);
        else if (paged == 0 && !ReadBlock()) // below 0 only skipped bytes
            return 1;
    }

    // A zero rate would make the frame duration meaningless.
    if (m_info.fps_numerator == 0 || m_info.fps_denominator == 0)
        return 1;
    if (theora_decode_init(&m_state, &m_info) != 0)
        return 1;
    m_frameDuration = static_cast<float>(double(m_info.fps_denominator) / double(m_info.fps_numerator));
    m_frameCount = 0;
    return 0;
}

int TheoraDecoder::ReadFrame(bool* end)
{
    *end = false;
    if (!m_stream)
    {
        *end = true;
        return 0;
    }
    while (ogg_stream_packetout(&m_streamState, &m_packet) != 1)
    {
        // Pages already buffered come first: the last block of the file may
        // hold several of them.
        int got;
        bool moved = false;
        while ((got = ogg_sync_pageout(&m_syncState, &m_page)) != 0)
            if (got > 0) // -1 only skipped bytes
            {
                ogg_stream_pagein(&m_streamState, &m_page);
                moved = true;
            }
        if (moved)
            continue;
        if (!ReadBlock())
        {
            Close();
            *end = true;
            return 0;
        }
    }
    if (theora_decode_packetin(&m_state, &m_packet) == OC_BADPACKET)
        return 1;
    if (theora_decode_YUVout(&m_state, &m_yuv) != 0)
        return 1;
    ++m_frameCount;
    return 0;
}

void TheoraDecoder::ConvertToRGB(int pitch, uint32_t* pixels, uint32_t width, uint32_t height) const
{
    ConvertYuvToArgb(m_yuv, pitch, pixels, width, height);
}

void TheoraDecoder::Close()
{
    if (!m_stream)
        return;
    ogg_stream_clear(&m_streamState);
    theora_clear(&m_state);
    theora_comment_clear(&m_comment);
    theora_info_clear(&m_info);
    ogg_sync_clear(&m_syncState);
    Zero();
    delete m_stream;
    m_stream = nullptr;
}
} // namespace video
