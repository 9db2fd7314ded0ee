#include "d3d9/heap_warmup.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define QUORVANE_OWN_MALLOC 1  // the sanitizer's allocator, which the C library's settings do not reach
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVANE_OWN_MALLOC 1
#endif
#endif

namespace quorvane::d3d9 {

#if defined(__GLIBC__) && defined(__linux__) && defined(MADV_POPULATE_WRITE) && !defined(QUORVANE_OWN_MALLOC)

namespace {

// The C library maps blocks from this size on by themselves; the heap serves smaller ones.
constexpr std::size_t mappedBlockSize = std::size_t{32} << 20;
// The heap is grown by blocks of this size, which the heap serves.
constexpr std::size_t growthBlockSize = mappedBlockSize / 2;

}  // namespace

HeapRange StartHeapWarmup(std::size_t bytes)
{
    // Large blocks from the heap, and a heap that keeps as much free at its top as is mapped here
    // and one large block more, so that a block freed is the next one's memory, mapped already,
    // instead of a fresh mapping to fault in.
    const std::size_t keptFree = std::min<std::size_t>(bytes + mappedBlockSize, INT_MAX);
    if (mallopt(M_MMAP_THRESHOLD, int(mappedBlockSize)) == 0 || mallopt(M_TRIM_THRESHOLD, int(keptFree)) == 0)
        return {};
    // The heap grown by `bytes` and given back: the range stays the heap's, free.
    std::vector<char*> blocks;
    try {
        blocks.reserve((bytes + growthBlockSize - 1) / growthBlockSize);
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (std::size_t grown = 0; grown < bytes; grown += growthBlockSize)
        blocks.push_back(static_cast<char*>(std::malloc(growthBlockSize)));
    std::uintptr_t low = UINTPTR_MAX;
    std::uintptr_t high = 0;
    for (char* block : blocks) {
        if (block != nullptr) {
            low = std::min(low, std::uintptr_t(block));
            high = std::max(high, std::uintptr_t(block + growthBlockSize));
        }
    }
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        std::free(*block);
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t from = (low + page - 1) & ~(page - 1);
    const std::uintptr_t to = high & ~(page - 1);
    // Blocks the heap could not place side by side were mapped apart, and are unmapped again.
    if (to <= from || to - from > blocks.size() * growthBlockSize + page)
        return {};
    try {
        // Populating writes nothing: whatever part of the range is handed out meanwhile keeps
        // the contents its new owner gives it.
        std::thread([from, to] { madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE); }).detach();
    } catch (const std::system_error&) {
        return {};  // no thread: the pages fault in as they are first used
    }
    return {from, to - from};
}

#else

HeapRange StartHeapWarmup(std::size_t)
{
    return {};
}

#endif

void WarmHeapOnce(std::size_t bytes)
{
    // On one core the mapping would only take turns with the driver's loading.
    static std::once_flag once;
    std::call_once(once, [bytes] {
        if (std::thread::hardware_concurrency() > 1)
            StartHeapWarmup(bytes);
    });
}

}  // namespace quorvane::d3d9
