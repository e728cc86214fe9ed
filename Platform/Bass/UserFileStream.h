#pragma once

// An Ogg Vorbis stream read through the engine's file callbacks. The stream
// keeps the file position itself, so the engine only ever sees absolute seeks.
#include "Platform/Bass/Bass.h"
#include "Platform/Bass/Converter.h"
#include "Platform/Bass/Vorbis.h"

#include <memory>
#include <vector>

namespace bass
{
class UserFileStream
{
public:
    UserFileStream(const BASS_FILEPROCS& procs, void* user);
    // Calls the close callback, once.
    ~UserFileStream();
    UserFileStream(const UserFileStream&) = delete;
    UserFileStream& operator=(const UserFileStream&) = delete;

    bool Open();
    // Converted frames into `out`; fewer than asked once the stream has ended.
    size_t Fill(float* out, size_t frames);
    bool Rewind();

private:
    static size_t ReadProc(void* ptr, size_t size, size_t count, void* source);
    static int SeekProc(void* source, ogg_int64_t offset, int whence);
    static long TellProc(void* source);

    BASS_FILEPROCS m_procs;
    void* m_user;
    QWORD m_position = 0;
    std::unique_ptr<VorbisDecoder> m_decoder;
    Converter m_converter;
    std::vector<float> m_scratch;
    bool m_ended = false;
};
} // namespace bass
