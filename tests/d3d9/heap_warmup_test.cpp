// The heap's top, mapped on a second thread, serves the next blocks without page faults and
// leaves what their owners write in them alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include "d3d9/heap_warmup.h"

TEST(HeapWarmup, BlocksFromTheMappedTopKeepTheirContentsAndFaultNoPages)
{
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE)), block = std::size_t{8} << 20;
    const quorvane::d3d9::HeapRange range = quorvane::d3d9::StartHeapWarmup(std::size_t{32} << 20);
    if (range.length == 0)
        GTEST_SKIP() << "no warm-up with this C library or allocator";
    auto* early = static_cast<unsigned char*>(std::malloc(block));  // written while the range is mapped
    std::memset(early, 0x5A, block);
    std::vector<unsigned char> resident(range.length / page);
    for (int wait = 0; wait < 1000 && std::count(resident.begin(), resident.end(), 1) < std::ptrdiff_t(resident.size());
         ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        mincore(reinterpret_cast<void*>(range.start), range.length, resident.data());
    }
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    auto* late = static_cast<unsigned char*>(std::malloc(block));
    std::memset(late, 0xA5, block);
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_minflt - before.ru_minflt, long(block / page / 16));
    for (const auto* start : {early, late})  // the range starts on the page after the heap's top
        EXPECT_TRUE(std::uintptr_t(start) + page >= range.start &&
                    std::uintptr_t(start) + block <= range.start + range.length);
    EXPECT_EQ(std::count(early, early + block, 0x5A), std::ptrdiff_t(block));
    std::free(late);
    std::free(early);
}
