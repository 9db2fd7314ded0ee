// libFuzzer target for the X-file parser (text and binary): every input is a whole file; the
// invariants of tests/support/file_invariants.h must hold. Inputs worth keeping go to
// tests/d3dx9/fuzz_regressions/xfile/, which the ordinary tests replay.
#include "file_invariants.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string failure = quorvane::tests::CheckXFile(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "X-file invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
