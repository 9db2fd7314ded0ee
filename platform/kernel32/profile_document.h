// A profile (INI) file held as its lines, so that an edit changes one line and leaves every
// other byte as it was: other sections, other keys, blank lines, comments, line endings.
//
// Reading rules, as the Windows profile functions apply them: a line whose first non-blank
// character is '[' starts a section named by the text up to the last ']' (blanks trimmed);
// ';' starts a comment line; any other line with '=' is a key, named by the trimmed text
// before the first '=', whose value is the trimmed text after it, with one pair of enclosing
// quotes removed. Section and key names compare without regard to case. When a name occurs
// more than once, the first occurrence in the file counts, for reading and writing alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::kernel32 {

class ProfileDocument {
public:
    explicit ProfileDocument(std::string_view bytes);

    // The value of the key (UTF-8), or nothing when the section or the key is absent.
    std::optional<std::string> Find(std::wstring_view section, std::wstring_view key) const;

    // Replaces the value of the key, keeping the text before it ("Key = "); a new key goes after
    // the last key of its section, a new section at the end of the file.
    void Set(std::wstring_view section, std::wstring_view key, std::string_view value);

    // Removes every line of the key in sections of that name, so that it reads as absent;
    // removes every section of that name with all its lines.
    void RemoveKey(std::wstring_view section, std::wstring_view key);
    void RemoveSection(std::wstring_view section);

    std::string Bytes() const;

private:
    enum class Kind {
        Other,
        Section,
        Key
    };
    struct Line {
        std::string text;    // without its line ending
        std::string ending;  // "\n", "\r\n" or "" for a last line without one
        Kind kind = Kind::Other;
        std::wstring name;           // section or key name, trimmed
        std::size_t valueStart = 0;  // Key: offset of the value in text
    };

    static Line ParseLine(std::string text, std::string ending);
    std::optional<std::size_t> FindKeyLine(std::wstring_view section, std::wstring_view key) const;
    std::size_t SectionEnd(std::size_t header) const;
    void InsertLine(std::size_t index, std::string text);
    std::string NewLine() const;

    std::string byteOrderMark_;
    std::vector<Line> lines_;
};

// Trims blanks (space and tab) from both ends.
std::wstring_view TrimBlanks(std::wstring_view text);

// The integer a profile value stands for, as GetPrivateProfileIntW reads it: leading blanks,
// an optional sign, decimal digits up to the first other character (none gives 0); the
// value wraps modulo 2^32 like the 32-bit arithmetic Windows uses.
unsigned int ParseProfileInteger(std::string_view value);

}  // namespace quorvane::kernel32
