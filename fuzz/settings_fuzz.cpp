// libFuzzer target for the profile (INI) functions the settings file goes through: each input
// becomes the whole INI file, keys are read, one is written and deleted, and the invariants
// of tests/support/profile_invariants.h must hold. Inputs worth keeping go to
// tests/kernel32/fuzz_regressions/, which the ordinary tests replay.
#include "profile_invariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

struct FuzzFile {
    FuzzFile()
    {
        // Memory-backed when possible: every write is flushed to disk, which a disk makes slow.
        const char* base = std::getenv("TMPDIR");
        if (base == nullptr)
            base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string directory = std::string(base) + "/quorvane-settings-fuzz-XXXXXX";
        if (mkdtemp(directory.data()) == nullptr)
            std::abort();
        path = directory + "/Quorvane.ini";
        widePath.assign(path.begin(), path.end());
    }
    std::string path;
    std::wstring widePath;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFile file;
    const std::string failure = quorvane::tests::profile_invariants::Check(
        file.path, file.widePath, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!failure.empty()) {
        std::fprintf(stderr, "profile invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
