#pragma once

// Ogg/Theora decoding over an engine stream through libtheora's legacy
// decoding interface.
#include <ogg/ogg.h>
#include <theora/theora.h>

#include <cstdint>

namespace base
{
class Stream;
}

namespace video
{
class TheoraDecoder
{
public:
    TheoraDecoder();
    ~TheoraDecoder();
    TheoraDecoder(const TheoraDecoder&) = delete;
    TheoraDecoder& operator=(const TheoraDecoder&) = delete;

    // Takes the stream; 0 once the three headers are read, 1 on any failure
    // (the stream is then deleted and the decoder stays closed).
    int Open(base::Stream* stream);
    // Decodes the next frame. The end of the data closes the decoder and sets
    // end; that is not a failure. 1 on a bad packet or a failed output.
    int ReadFrame(bool* end);
    // The last decoded frame into at most width x height pixels.
    void ConvertToRGB(int pitch, uint32_t* pixels, uint32_t width, uint32_t height) const;
    // Releases everything; nothing without a stream.
    void Close();

    const theora_info& GetInfo() const { return m_info; }
    const yuv_buffer& GetYuv() const { return m_yuv; }
    float GetFrameDuration() const { return m_frameDuration; }
    uint32_t GetFrameCount() const { return m_frameCount; }
    bool IsOpen() const { return m_stream != nullptr; }

private:
    // Reads up to one block into the sync state; false when nothing came.
    bool ReadBlock();
    int ReadHeaders();
    void Zero();

    ogg_stream_state m_streamState;
    ogg_sync_state m_syncState;
    ogg_page m_page;
    ogg_packet m_packet;
    theora_comment m_comment;
    theora_info m_info;
    theora_state m_state;
    yuv_buffer m_yuv;
    float m_frameDuration = 0.0f;
    uint32_t m_frameCount = 0;
    base::Stream* m_stream = nullptr;
};
} // namespace video
