// What must hold for any profile file, whatever bytes it holds: shared by the fuzz target for
// the profile functions and by the test that replays the inputs it found.
#pragma once

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::tests::profile_invariants {

// Lines split at '\n', with a '\r' before it ignored (a last line may gain a line ending).
inline std::vector<std::string> Lines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Whether every line of before, except at most one (the line whose value changed), appears in
// after in the same order: their longest common subsequence of lines is that long.
inline bool KeepsLines(std::string_view before, std::string_view after)
{
    const std::vector<std::string> old = Lines(before);
    const std::vector<std::string> kept = Lines(after);
    std::vector<std::size_t> previous(kept.size() + 1, 0);
    std::vector<std::size_t> current(kept.size() + 1, 0);
    for (const std::string& line : old) {
        for (std::size_t j = 0; j < kept.size(); ++j) {
            current[j + 1] = line == kept[j] ? previous[j] + 1 : std::max(previous[j + 1], current[j]);
        }
        std::swap(previous, current);
    }
    return previous[kept.size()] + 1 >= old.size();
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Writes the bytes to path, then reads keys and writes one. Returns "" when everything held,
// else what did not.
inline std::string Check(const std::string& path, const std::wstring& widePath, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const LPCWSTR file = widePath.c_str();
    const LPCWSTR section = L"QUORVANE";
    const LPCWSTR keys[] = {L"REDLINE_A", L"SHOW_HELP", L"LINEDENSITY", L"", L"A"};
    UINT before[std::size(keys)];
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        before[i] = GetPrivateProfileIntW(section, keys[i], 7, file);
        if (GetPrivateProfileIntW(section, keys[i], 7, file) != before[i])
            return "reading is not repeatable";
    }

    // Writing one key: it reads back, and no other key changes.
    if (!WritePrivateProfileStringW(section, L"LATITUDELINE_G", L"-123", file))
        return "write failed";
    if (static_cast<INT>(GetPrivateProfileIntW(section, L"LATITUDELINE_G", 7, file)) != -123) {
        return "written value does not read back";
    }
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (GetPrivateProfileIntW(section, keys[i], 7, file) != before[i])
            return "a write changed another key";
    }

    // Everything the file held is still there, in order, but for the line of the key.
    const std::string written = ReadBytes(path);
    if (!KeepsLines(bytes, written))
        return "a write lost lines of the file";

    // Writing the same value again changes nothing.
    if (!WritePrivateProfileStringW(section, L"LATITUDELINE_G", L"-123", file))
        return "rewrite failed";
    if (ReadBytes(path) != written)
        return "rewriting the same value changed the file";

    // Deleting the key brings the default back and keeps the other keys.
    if (!WritePrivateProfileStringW(section, L"LATITUDELINE_G", nullptr, file))
        return "delete failed";
    if (GetPrivateProfileIntW(section, L"LATITUDELINE_G", 7, file) != 7)
        return "deleted key still reads";
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (GetPrivateProfileIntW(section, keys[i], 7, file) != before[i])
            return "a delete changed another key";
    }
    return "";
}

}  // namespace quorvane::tests::profile_invariants
