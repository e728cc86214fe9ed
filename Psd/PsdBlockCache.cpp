// Large blocks kept from one load for the next.
//
// A program that loads document after document (the game at start-up) had
// the kernel map and zero every image, plane and payload buffer afresh on its
// first writes to them: about a third of a zip load. Freed blocks of a huge
// page or more wait here instead, a few of them and a bounded number of
// bytes, for the next load that asks for one of about their size. They go
// back to the system on psdr_release_cache and at exit. Documents may load on
// several threads at once, so the cache has a lock.

#include <malloc.h>
#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <type_traits>

#include "Psd/PsdInternal.h"

namespace {

constexpr int kMaxBlocks = PSDR_CACHE_BLOCKS;
constexpr size_t kMaxBytes = PSDR_CACHE_BYTES;
// A block is handed out for at least half its size: a much larger one is
// kept for the larger request that will want it.
constexpr size_t kMaxWasteFactor = 2;

struct Block {
    void* data;
    size_t size;
};

// Gives a block back to the system. A kept block is poisoned for the address
// sanitizer, so a late use of it reports as a use after free would.
void free_block(const Block& block) {
    ASAN_UNPOISON_MEMORY_REGION(block.data, block.size);
    std::free(block.data);
}

class BlockCache {
public:
    void* Take(size_t size) {
        std::lock_guard<std::mutex> hold(lock_);
        int best = -1;
        for (int i = 0; i < count_; ++i) {
            const size_t have = blocks_[i].size;
            if (have < size || have / kMaxWasteFactor > size) continue;
            if (best < 0 || have < blocks_[best].size) best = i;
        }
        if (best < 0) return nullptr;
        void* data = blocks_[best].data;
        bytes_ -= blocks_[best].size;
        RemoveAt(best);
        ASAN_UNPOISON_MEMORY_REGION(data, size);
        return data;
    }

    // False when the block is not kept: the caller frees it.
    bool Keep(void* data, size_t size) {
        if (size > kMaxBytes) return false;
        Block evicted[kMaxBlocks];
        int evicted_count = 0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (closed_) return false;
            if (!exit_hook_) {
                // Without it the blocks would still be held when leak checkers look.
                exit_hook_ = true;
                std::atexit([] { Instance().Close(); });
            }
            for (int i = 0; i < count_; ++i)
                // Freed twice: stop here, as the system allocator does, rather
                // than hand the block to two owners.
                if (blocks_[i].data == data) std::abort();
            // The oldest make room: recent sizes are the likeliest to come again.
            while (count_ == kMaxBlocks || bytes_ + size > kMaxBytes) {
                evicted[evicted_count++] = blocks_[0];
                bytes_ -= blocks_[0].size;
                RemoveAt(0);
            }
            ASAN_POISON_MEMORY_REGION(data, size);
            blocks_[count_++] = Block{data, size};
            bytes_ += size;
        }
        for (int i = 0; i < evicted_count; ++i) free_block(evicted[i]);
        return true;
    }

    void Release() {
        Block held[kMaxBlocks];
        int held_count = 0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            for (int i = 0; i < count_; ++i) held[held_count++] = blocks_[i];
            count_ = 0;
            bytes_ = 0;
        }
        for (int i = 0; i < held_count; ++i) free_block(held[i]);
    }

    psdr_cache_state State() {
        std::lock_guard<std::mutex> hold(lock_);
        return psdr_cache_state{count_, bytes_};
    }

    static BlockCache& Instance();

private:
    void RemoveAt(int index) {
        for (int i = index + 1; i < count_; ++i) blocks_[i - 1] = blocks_[i];
        --count_;
    }

    // At exit: everything goes back, and blocks freed later are not kept.
    void Close() {
        {
            std::lock_guard<std::mutex> hold(lock_);
            closed_ = true;
        }
        Release();
    }

    std::mutex lock_;
    Block blocks_[kMaxBlocks] = {};
    int count_ = 0;
    size_t bytes_ = 0;
    bool exit_hook_ = false;
    bool closed_ = false;
};

// Constant-initialised and never destroyed, so frees from other objects'
// destructors at exit still find it.
constinit BlockCache gCache;
static_assert(std::is_trivially_destructible_v<BlockCache>);

BlockCache& BlockCache::Instance() { return gCache; }

}  // namespace

void* psdr_cache_take(size_t size) {
    if (size < PSDR_HUGE_PAGE) return nullptr;
    return gCache.Take(size);
}

bool psdr_cache_keep(void* block) {
    // Only the large blocks, which start on a huge page.
    if (!block || reinterpret_cast<uintptr_t>(block) % PSDR_HUGE_PAGE != 0) return false;
    const size_t size = malloc_usable_size(block);
    if (size < PSDR_HUGE_PAGE) return false;
    return gCache.Keep(block, size);
}

psdr_cache_state psdr_cache_current() { return gCache.State(); }

void psdr_release_cache() { gCache.Release(); }
