// The C library's heap made ready on a spare core while the GL driver loads: the pages a new
// device goes on to fill (a mesh's arrays, a decoded image, OpenGL's copy of it) are then mapped
// already, instead of each faulting in on its first touch. What a program computes is unchanged;
// only when the kernel maps the memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane::d3d9 {

// The part of the heap being mapped; empty when nothing is.
struct HeapRange {
    std::uintptr_t start = 0;
    std::size_t length = 0;
};

// From this call on, blocks up to tens of megabytes come from the heap, which keeps what is freed
// for the next block; `bytes` at the heap's top, free, are mapped on a second thread. Nothing is
// mapped where the C library is not the GNU one, or no thread can start: the pages then fault in
// when used, as before.
HeapRange StartHeapWarmup(std::size_t bytes);

// StartHeapWarmup once in a process, on a machine with a core to spare.
void WarmHeapOnce(std::size_t bytes);

}  // namespace quorvane::d3d9
