// The fixed-function programs by key. A steady frame finds every program it needs here and
// compiles nothing; the cache keeps the most recently used programs up to a bound, so states
// that keep changing cannot make it grow without end.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "d3d9/fixed_function_program.h"
#include "d3d9/program_key.h"

namespace quorvane::d3d9 {

// How many programs the cache keeps, has compiled in all, and has handed out since the counts
// were last taken.
struct ProgramCounts {
    UINT cached = 0;
    UINT compiled = 0;
    UINT used = 0;
};

class ProgramCache {
public:
    static constexpr std::size_t capacity = 64;

    // The program of `key`, built on a miss (the least recently used one goes when the cache
    // is full); null when it cannot be built. With the device's context current.
    FixedFunctionProgram* Find(const ProgramKey& key);
    // Deletes every program, with the context current.
    void Clear();
    ProgramCounts TakeCounts();

private:
    void EvictLeastRecentlyUsed();

    std::unordered_map<ProgramKey, std::unique_ptr<FixedFunctionProgram>, ProgramKeyHash> programs_;
    FixedFunctionProgram* last_ = nullptr;  // the previous draw's
    std::uint64_t clock_ = 0;
    UINT compiled_ = 0;
};

}  // namespace quorvane::d3d9
