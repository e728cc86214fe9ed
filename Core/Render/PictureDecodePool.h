#pragma once

// Decodes pictures on a few worker threads while the main thread goes on.
// The caller reads the bytes (the file system is the main thread's); the
// decoded picture is taken back by the thread that uploads it, as the same
// decoder would have written it there.
#include "Core/Base/ImageInfo.h"
#include "Core/Render/ImageData.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace render
{
class PictureDecodePool
{
public:
    using Bytes = std::vector<unsigned char>;

    explicit PictureDecodePool(unsigned threads);
    PictureDecodePool(const PictureDecodePool&) = delete;
    PictureDecodePool& operator=(const PictureDecodePool&) = delete;
    // Pictures not started are dropped; the threads finish the one they hold and are joined.
    ~PictureDecodePool();

    // Queues a picture under its key; a key queued again keeps the first.
    void Submit(const std::wstring& key, Bytes bytes, const std::wstring& extension, const base::ImageInfo& info);
    // Queued and not taken yet.
    bool Contains(const std::wstring& key);
    // Nothing when the key was never queued (or was taken). Otherwise the
    // decoded picture, null when the decoder refused it. A picture still
    // queued is decoded on the calling thread; one being decoded is waited for.
    std::optional<std::unique_ptr<ImageData>> Take(const std::wstring& key);

private:
    struct Job
    {
        enum State { kQueued, kRunning, kDone };
        State state = kQueued;
        Bytes bytes;
        std::wstring extension;
        base::ImageInfo info;
        std::unique_ptr<ImageData> picture;
    };

    void Work(std::stop_token stop);
    static std::unique_ptr<ImageData> Decode(const Job& job);

    std::mutex mLock;
    std::condition_variable_any mChanged;
    std::map<std::wstring, std::shared_ptr<Job>> mJobs;
    std::deque<std::shared_ptr<Job>> mQueue;
    // Last: the threads stop and join before the jobs they read go.
    std::vector<std::jthread> mThreads;
};
} // namespace render
