#include "Platform/Bass/UserFileStream.h"

#include <cerrno>
#include <cstdio>

namespace bass
{
UserFileStream::UserFileStream(const BASS_FILEPROCS& procs, void* user)
    : m_procs(procs)
    , m_user(user)
    , m_decoder(std::make_unique<VorbisDecoder>())
{
}

UserFileStream::~UserFileStream()
{
    m_decoder.reset();
    if (m_procs.close)
        m_procs.close(m_user);
}

bool UserFileStream::Open()
{
    if (!m_procs.read || !m_procs.seek || !m_procs.length)
        return false;
    ov_callbacks callbacks{ReadProc, SeekProc, nullptr, TellProc};
    if (!m_decoder->Open(this, callbacks))
        return false;
    return m_converter.Open(AUDIO_F32SYS, m_decoder->Channels(), m_decoder->Rate());
}

size_t UserFileStream::Fill(float* out, size_t frames)
{
    size_t produced = m_converter.Get(out, frames);
    while (produced < frames && !m_ended)
    {
        m_scratch.clear();
        long got = m_decoder->Read(m_scratch, 1024);
        if (got > 0)
        {
            if (!m_converter.Put(m_scratch.data(), m_scratch.size() * sizeof(float)))
                m_ended = true;
        }
        else
        {
            m_ended = true;
        }
        if (m_ended)
            m_converter.Flush();
        produced += m_converter.Get(out + produced * 2, frames - produced);
    }
    return produced;
}

bool UserFileStream::Rewind()
{
    m_converter.Clear();
    m_ended = !m_decoder->Rewind();
    return !m_ended;
}

size_t UserFileStream::ReadProc(void* ptr, size_t size, size_t count, void* source)
{
    auto* self = static_cast<UserFileStream*>(source);
    size_t want = size * count;
    if (want == 0)
        return 0;
    if (want > 0x7fffffff)
        want = 0x7fffffff;
    DWORD got = self->m_procs.read(ptr, static_cast<DWORD>(want), self->m_user);
    if (got == 0xFFFFFFFFu || got > want)
    {
        // vorbisfile tells a failed read from the end of the file by errno.
        errno = EIO;
        return 0;
    }
    self->m_position += got;
    return got / size;
}

int UserFileStream::SeekProc(void* source, ogg_int64_t offset, int whence)
{
    auto* self = static_cast<UserFileStream*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<ogg_int64_t>(self->m_position);
    else if (whence == SEEK_END)
        base = static_cast<ogg_int64_t>(self->m_procs.length(self->m_user));
    ogg_int64_t target = base + offset;
    if (target < 0 || !self->m_procs.seek(static_cast<QWORD>(target), self->m_user))
        return -1;
    self->m_position = static_cast<QWORD>(target);
    return 0;
}

long UserFileStream::TellProc(void* source)
{
    return static_cast<long>(static_cast<UserFileStream*>(source)->m_position);
}
} // namespace bass
