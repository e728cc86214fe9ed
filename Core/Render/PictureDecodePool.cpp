#include "Core/Render/PictureDecodePool.h"

#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"

#include <algorithm>
#include <cstring>

namespace render
{
namespace
{
constexpr int32_t kTypeDxt1 = 1;
constexpr uint32_t kDxt1BlockBytes = 8;
constexpr uint32_t kDxtBlockBytes = 16;

// A picture already decoded into memory, handed out as its decoder would.
class DecodedPicture : public ImageData
{
public:
    DecodedPicture(const ImageData& source, uint32_t pitch, std::vector<unsigned char> rows, HitMask mask)
        : mPitch(pitch), mRows(std::move(rows)), mMask(std::move(mask))
    {
        mWidth = source.GetWidth();
        mHeight = source.GetHeight();
        mBytesPerPixel = source.GetBytesPerPixel();
        mLevelCount = source.GetLevelCount();
        mType = source.GetType();
        mDecodedSize = source.GetDecodedSize();
    }

    HVResultEnum Load(base::Stream*, const wchar_t*) override { return HV_FAIL; }
    HVResultEnum Decode(uint32_t pitch, void* destination, HitMask* mask) override
    {
        if (!destination || pitch < mPitch)
            return HV_FAIL;
        const size_t rows = mRows.size() / mPitch;
        for (size_t row = 0; row < rows; ++row)
            std::memcpy(static_cast<unsigned char*>(destination) + row * pitch, mRows.data() + row * mPitch, mPitch);
        if (mask)
            *mask = mMask;
        return HV_OK;
    }
    int32_t GetDecodedSize() const override { return mDecodedSize; }

private:
    uint32_t mPitch;
    std::vector<unsigned char> mRows;
    HitMask mMask;
    int32_t mDecodedSize = 0;
};

// Level 0's row pitch and row count as a texture of the picture's type holds them.
void Layout(const ImageData& picture, uint32_t& pitch, uint32_t& rows)
{
    const uint32_t w = uint32_t(picture.GetWidth()), h = uint32_t(picture.GetHeight());
    if (picture.GetType() == 0)
    {
        pitch = w * 4;
        rows = h;
        return;
    }
    pitch = (w + 3) / 4 * (picture.GetType() == kTypeDxt1 ? kDxt1BlockBytes : kDxtBlockBytes);
    rows = (h + 3) / 4;
}
} // namespace

PictureDecodePool::PictureDecodePool(unsigned threads)
{
    // Made here, on the owner's thread: the workers only use it.
    ImageLoader::Instance();
    for (unsigned i = 0; i < threads; ++i)
        mThreads.emplace_back([this](std::stop_token stop) { Work(stop); });
}

PictureDecodePool::~PictureDecodePool()
{
    for (std::jthread& thread : mThreads)
        thread.request_stop();
    mChanged.notify_all();
    mThreads.clear(); // joins
}

void PictureDecodePool::Submit(const std::wstring& key, Bytes bytes, const std::wstring& extension,
                               const base::ImageInfo& info)
{
    std::lock_guard<std::mutex> held(mLock);
    if (mJobs.count(key))
        return;
    auto job = std::make_shared<Job>();
    job->bytes = std::move(bytes);
    job->extension = extension;
    job->info = info;
    mJobs[key] = job;
    mQueue.push_back(job);
    mChanged.notify_one();
}

bool PictureDecodePool::Contains(const std::wstring& key)
{
    std::lock_guard<std::mutex> held(mLock);
    return mJobs.count(key) != 0;
}

std::optional<std::unique_ptr<ImageData>> PictureDecodePool::Take(const std::wstring& key)
{
    std::unique_lock<std::mutex> held(mLock);
    const auto found = mJobs.find(key);
    if (found == mJobs.end())
        return std::nullopt;
    std::shared_ptr<Job> job = found->second;
    mJobs.erase(found);
    if (job->state == Job::kQueued)
    {
        // Not started: decoding it here is quicker than waiting behind the queue.
        mQueue.erase(std::find(mQueue.begin(), mQueue.end(), job));
        held.unlock();
        return Decode(*job);
    }
    mChanged.wait(held, [&job] { return job->state == Job::kDone; });
    return std::move(job->picture);
}

void PictureDecodePool::Work(std::stop_token stop)
{
    std::unique_lock<std::mutex> held(mLock);
    for (;;)
    {
        if (!mChanged.wait(held, stop, [this] { return !mQueue.empty(); }))
            return; // stop asked
        std::shared_ptr<Job> job = mQueue.front();
        mQueue.pop_front();
        job->state = Job::kRunning;
        held.unlock();
        std::unique_ptr<ImageData> picture = Decode(*job);
        held.lock();
        job->picture = std::move(picture);
        job->state = Job::kDone;
        mChanged.notify_all();
    }
}

std::unique_ptr<ImageData> PictureDecodePool::Decode(const Job& job)
{
    base::MemoryStream stream(job.bytes.data(), job.bytes.size());
    std::unique_ptr<ImageData> picture(
        ImageLoader::Instance()->CreateImageData(&stream, job.extension.c_str(), &job.info));
    if (!picture)
        return nullptr;
    uint32_t pitch = 0, rows = 0;
    Layout(*picture, pitch, rows);
    std::vector<unsigned char> pixels(size_t(pitch) * rows);
    // As the texture's creation asks for it.
    HitMask mask;
    mask.Resize(uint32_t(picture->GetWidth()) * uint32_t(picture->GetHeight()));
    if (picture->Decode(pitch, pixels.data(), &mask) != HV_OK)
        return nullptr;
    return std::make_unique<DecodedPicture>(*picture, pitch, std::move(pixels), std::move(mask));
}
} // namespace render
