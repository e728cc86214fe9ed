#pragma once

// Plays an Ogg/Theora video from the file system into a picture at the
// video's frame rate.
#include "Core/Base/Result.h"
#include "Core/Video/TheoraVideoListener.h"

#include <cstdint>
#include <string>
#include <vector>

namespace render
{
class Image;
}

namespace video
{
class TheoraDecoder;

class TheoraVideo
{
public:
    explicit TheoraVideo(TheoraVideoListener* listener);
    ~TheoraVideo();
    TheoraVideo(const TheoraVideo&) = delete;
    TheoraVideo& operator=(const TheoraVideo&) = delete;

    // 0 on success, 1 on any failure. A failure keeps an empty decoder and the
    // previous finished flag, so a video that was playing ends at the next Update.
    int Open(const std::wstring& path);
    // The coded frame size; valid after a successful Open.
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;
    // Decodes the frames due by now and converts only the last of them into
    // the target. At the end of the stream the listener is told, as the very
    // last thing (it may delete this player).
    int Update(float seconds, render::Image* target);
    // Releases the decoder and the pixel buffer; Update then does nothing.
    void Close();

private:
    int Convert(render::Image* target);

    TheoraVideoListener* m_listener;
    TheoraDecoder* m_decoder = nullptr;
    float m_frameDuration = 0.06f;
    float m_elapsed = 0.0f;
    uint32_t m_frameCounter = 0;
    uint8_t m_finished = 1;
    // For pictures that cannot be locked: one width x height frame.
    std::vector<uint32_t> m_pixels;
    uint32_t m_pixelsWidth = 0;
    uint32_t m_pixelsHeight = 0;
};
} // namespace video
