// The heap's top, mapped on a second thread, serves the next blocks without page faults and
// leaves what its blocks' owners write in them alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include "d3d9/heap_warmup.h"

namespace {

long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

bool Resident(const quorvane::d3d9::HeapRange& range)
{
    std::vector<unsigned char> pages(range.length / std::size_t(sysconf(_SC_PAGESIZE)));
    mincore(reinterpret_cast<void*>(range.start), range.length, pages.data());
    for (unsigned char page : pages)
        if ((page & 1) == 0)
            return false;
    return true;
}

TEST(HeapWarmup, BlocksFromTheMappedTopKeepTheirContentsAndFaultNoPages)
{
    constexpr std::size_t block = std::size_t{8} << 20;
    const quorvane::d3d9::HeapRange range = quorvane::d3d9::StartHeapWarmup(std::size_t{32} << 20);
    if (range.length == 0)
        GTEST_SKIP() << "no warm-up with this C library or allocator";
    auto* early = static_cast<unsigned char*>(std::malloc(block));  // written while the range is mapped
    std::memset(early, 0x5A, block);
    for (int wait = 0; wait < 1000 && !Resident(range); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(Resident(range));
    const long before = MinorFaults();
    auto* late = static_cast<unsigned char*>(std::malloc(block));
    std::memset(late, 0xA5, block);
    EXPECT_LT(MinorFaults() - before, long(block / std::size_t(sysconf(_SC_PAGESIZE)) / 16));
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));  // the range starts on the page after the heap's
    for (const auto* start : {early, late})
        EXPECT_TRUE(std::uintptr_t(start) + page >= range.start &&
                    std::uintptr_t(start) + block <= range.start + range.length);
    EXPECT_EQ(std::count(early, early + block, 0x5A), std::ptrdiff_t(block));
    std::free(late);
    std::free(early);
}

}  // namespace
