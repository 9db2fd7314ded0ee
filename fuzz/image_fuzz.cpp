// libFuzzer target for the image decoders (JPEG, PNG, BMP): every input is a whole file; the
// invariants of tests/support/file_invariants.h must hold. Inputs worth keeping go to
// tests/d3dx9/fuzz_regressions/image/, which the ordinary tests replay.
#include "file_invariants.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string failure = quorvane::tests::CheckImage(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "image invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
