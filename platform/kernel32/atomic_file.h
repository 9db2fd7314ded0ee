// Whole-file reading and replacing for the profile functions.
#pragma once

#include <string>

namespace quorvane::kernel32 {

enum class ReadResult {
    Read,
    Missing,
    Failed
};

// Reads a regular file whole. Missing: no file there (ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND set); Failed: anything else (last error set).
ReadResult ReadWholeFile(const std::string& path, std::string& bytes);

// Whether writing the file must be refused as Windows refuses it: it exists and is read-only
// (no write permission bit, which also holds for root) or not writable for this process.
bool IsReadOnlyFile(const std::string& path);

// Replaces the file's contents so that it is always either wholly old or wholly new: the bytes
// go to a temporary file in the same directory, which is flushed to disk and renamed over the
// file. A symbolic link is followed, and the file's permissions and owner are kept; a new file
// gets the default permissions. On failure the old file is untouched, the temporary file is
// gone, the last error is set and false is returned.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace quorvane::kernel32
