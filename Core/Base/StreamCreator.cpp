#include "Core/Base/StreamCreator.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"

namespace base
{
StreamCreator::~StreamCreator() = default;

FileStreamCreator::FileStreamCreator(const std::wstring& path, int access, int disposition)
    : mPath(path), mAccess(access), mDisposition(disposition)
{
}

HVResultEnum FileStreamCreator::Create(Stream** stream)
{
    auto* file = new FileStream();
    if (file->GetFile().Open(mPath, mAccess, mDisposition) != HV_OK)
    {
        delete file;
        return HV_FAIL;
    }
    *stream = file;
    return HV_OK;
}

FrameStreamCreator::FrameStreamCreator(StreamCreator* inner, bool owns, uint32_t offset, uint32_t size)
    : mInner(inner), mOwns(owns), mOffset(offset), mSize(size)
{
}

FrameStreamCreator::~FrameStreamCreator()
{
    if (mOwns)
        delete mInner;
}

HVResultEnum FrameStreamCreator::Create(Stream** stream)
{
    if (mInner == nullptr)
        return HV_FAIL;
    Stream* inner = nullptr;
    const HVResultEnum result = mInner->Create(&inner);
    if (result != HV_OK)
        return result;
    *stream = new FrameStream(inner, true, mOffset, mSize);
    return HV_OK;
}
} // namespace base
