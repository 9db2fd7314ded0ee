// Replays the fuzz targets' kept inputs through the Windows build's own D3DX, as
// tests/d3dx9/fuzz_regressions_test.cpp does on Linux: every file of each folder given must meet
// the invariants of tests/support/file_invariants.h. Run under Wine once for all inputs.
//
//   replay_fuzz_inputs xfile=FOLDER image=FOLDER ...
//
// Prints each file that breaks an invariant, and which; a crash names the file it happened on.
// Exits with 0 when every file passed, 1 when any failed, 2 on wrong use (also for a folder
// without files, which would pass having checked nothing).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "file_invariants.h"

namespace {

namespace fs = std::filesystem;
using quorvane::tests::CheckImage;
using quorvane::tests::CheckXFile;
using Check = std::string (*)(const std::uint8_t*, std::size_t);

// The file being checked, for the crash report.
std::string currentFile;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "%s: crashed with exception 0x%08lx\n", currentFile.c_str(),
                 exception->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    // Ends the process with the exception's code, without a debugger or a crash dialog.
    return EXCEPTION_EXECUTE_HANDLER;
}

std::vector<std::uint8_t> Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> FilesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Checks every file of the folder; returns how many failed.
int ReplayFolder(std::string_view kind, Check check, const fs::path& folder, int& replayed)
{
    int failed = 0;
    for (const fs::path& file : FilesIn(folder)) {
        currentFile = file.string();
        const std::vector<std::uint8_t> bytes = Read(file);
        std::string failure;
        try {
            failure = check(bytes.data(), bytes.size());
        } catch (const std::exception& e) {
            failure = std::string("threw ") + e.what();
        }
        if (!failure.empty()) {
            std::printf("FAILED %.*s %s: %s\n", static_cast<int>(kind.size()), kind.data(), currentFile.c_str(),
                        failure.c_str());
            ++failed;
        }
        ++replayed;
    }
    return failed;
}

Check CheckFor(std::string_view kind)
{
    return kind == "xfile" ? CheckXFile : kind == "image" ? CheckImage : nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    if (argc < 2) {
        std::fprintf(stderr, "usage: replay_fuzz_inputs xfile=FOLDER image=FOLDER ...\n");
        return 2;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const std::size_t equals = argument.find('=');
        const std::string_view kind = argument.substr(0, equals);
        const Check check = equals == std::string_view::npos ? nullptr : CheckFor(kind);
        const fs::path folder(std::string(argument.substr(equals + 1)));
        std::error_code error;
        if (check == nullptr || !fs::is_directory(folder, error)) {
            std::fprintf(stderr, "replay_fuzz_inputs: %s is not KIND=FOLDER (xfile or image, an existing folder)\n",
                         argv[i]);
            return 2;
        }
        int replayed = 0;
        const int folderFailed = ReplayFolder(kind, check, folder, replayed);
        if (replayed == 0) {
            std::fprintf(stderr, "replay_fuzz_inputs: no files in %s\n", folder.string().c_str());
            return 2;
        }
        std::printf("%.*s: %d inputs from %s, %d failed\n", static_cast<int>(kind.size()), kind.data(), replayed,
                    folder.string().c_str(), folderFailed);
        failed += folderFailed;
    }
    return failed == 0 ? 0 : 1;
}
