#pragma once

// Opens a fresh stream on demand, for readers that want a stream of their
// own. The stream handed out belongs to the caller.
#include "Core/Base/Result.h"
#include "Core/Base/Stream.h"

#include <string>

namespace base
{
class StreamCreator
{
public:
    StreamCreator() = default;
    StreamCreator(const StreamCreator&) = delete;
    StreamCreator& operator=(const StreamCreator&) = delete;
    virtual ~StreamCreator();
    // On failure *stream is left untouched.
    virtual HVResultEnum Create(Stream** stream) = 0;
};

class FileStreamCreator : public StreamCreator
{
public:
    // access and disposition as file::FileHandleWin32::Open takes them.
    FileStreamCreator(const std::wstring& path, int access, int disposition);
    HVResultEnum Create(Stream** stream) override;

private:
    std::wstring mPath;
    int mAccess;
    int mDisposition;
};

// Wraps each stream of the inner creator in a window that owns it.
class FrameStreamCreator : public StreamCreator
{
public:
    FrameStreamCreator(StreamCreator* inner, bool owns, uint32_t offset, uint32_t size);
    ~FrameStreamCreator() override;
    HVResultEnum Create(Stream** stream) override;

private:
    StreamCreator* mInner;
    bool mOwns;
    uint32_t mOffset;
    uint32_t mSize;
};
} // namespace base
