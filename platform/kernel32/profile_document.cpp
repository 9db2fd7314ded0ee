// Parsing and editing of profile files line by line.
#include "kernel32/profile_document.h"

#include "kernel32/utf8.h"

#include <cwctype>

namespace quorvane::kernel32 {
namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

wchar_t FoldCase(wchar_t c)
{
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c - L'A' + L'a');
    if (c < 0x80)
        return c;
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

std::wstring DecodeName(std::string_view bytes)
{
    std::wstring name;
    DecodeUtf8(TrimBlanks(bytes), name, InvalidUtf8::Replace);
    return name;
}

std::string_view StripQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::wstring_view TrimBlanks(std::wstring_view text)
{
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}

unsigned int ParseProfileInteger(std::string_view value)
{
    std::size_t i = 0;
    while (i < value.size() && IsBlank(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    unsigned int result = 0;  // unsigned: wraps instead of overflowing
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        result = result * 10u + static_cast<unsigned int>(value[i] - '0');
    }
    return negative ? 0u - result : result;
}

ProfileDocument::ProfileDocument(std::string_view bytes)
{
    if (bytes.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark) {
        byteOrderMark_ = utf8ByteOrderMark;
        bytes.remove_prefix(utf8ByteOrderMark.size());
    }
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        std::string_view text = bytes.substr(0, newline);
        std::string_view ending;
        if (newline != std::string_view::npos) {
            ending = bytes.substr(newline, 1);
            if (!text.empty() && text.back() == '\r') {
                text.remove_suffix(1);
                ending = bytes.substr(newline - 1, 2);
            }
            bytes.remove_prefix(newline + 1);
        } else {
            bytes = {};
        }
        lines_.push_back(ParseLine(std::string(text), std::string(ending)));
    }
}

ProfileDocument::Line ProfileDocument::ParseLine(std::string text, std::string ending)
{
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    const std::string_view content = TrimBlanks(std::string_view(line.text));
    if (content.empty() || content.front() == ';')
        return line;
    if (content.front() == '[') {
        std::string_view name = content.substr(1);
        const std::size_t close = name.rfind(']');
        if (close != std::string_view::npos)
            name = name.substr(0, close);
        line.kind = Kind::Section;
        line.name = DecodeName(name);
        return line;
    }
    const std::size_t equals = line.text.find('=');
    if (equals == std::string::npos)
        return line;
    line.kind = Kind::Key;
    line.name = DecodeName(std::string_view(line.text).substr(0, equals));
    line.valueStart = equals + 1;
    while (line.valueStart < line.text.size() && IsBlank(line.text[line.valueStart])) {
        ++line.valueStart;
    }
    return line;
}

// Lines after a section header up to the next header (exclusive).
std::size_t ProfileDocument::SectionEnd(std::size_t header) const
{
    std::size_t end = header + 1;
    while (end < lines_.size() && lines_[end].kind != Kind::Section)
        ++end;
    return end;
}

std::optional<std::size_t> ProfileDocument::FindKeyLine(std::wstring_view section, std::wstring_view key) const
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    for (std::size_t header = 0; header < lines_.size(); ++header) {
        if (lines_[header].kind != Kind::Section || !EqualNoCase(lines_[header].name, section)) {
            continue;
        }
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines_[i].kind == Kind::Key && EqualNoCase(lines_[i].name, key))
                return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileDocument::Find(std::wstring_view section, std::wstring_view key) const
{
    const auto index = FindKeyLine(section, key);
    if (!index)
        return std::nullopt;
    const Line& line = lines_[*index];
    return std::string(StripQuotes(TrimBlanks(std::string_view(line.text).substr(line.valueStart))));
}

// The file's own line ending (that of its first line), "\n" for a file that has none yet.
std::string ProfileDocument::NewLine() const
{
    for (const Line& line : lines_) {
        if (!line.ending.empty())
            return line.ending;
    }
    return "\n";
}

void ProfileDocument::InsertLine(std::size_t index, std::string text)
{
    const std::string newline = NewLine();
    if (index > 0 && lines_[index - 1].ending.empty())
        lines_[index - 1].ending = newline;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), ParseLine(std::move(text), newline));
}

void ProfileDocument::Set(std::wstring_view section, std::wstring_view key, std::string_view value)
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (const auto index = FindKeyLine(section, key)) {
        Line& line = lines_[*index];
        line.text.resize(line.valueStart);
        line.text += value;
        return;
    }
    const std::string keyLine = EncodeUtf8Lossy(key) + "=" + std::string(value);
    for (std::size_t header = 0; header < lines_.size(); ++header) {
        if (lines_[header].kind != Kind::Section || !EqualNoCase(lines_[header].name, section)) {
            continue;
        }
        std::size_t insertAt = header + 1;
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines_[i].kind == Kind::Key)
                insertAt = i + 1;
        }
        InsertLine(insertAt, keyLine);
        return;
    }
    // A new section, set off from what comes before by a blank line.
    if (!lines_.empty() && !TrimBlanks(std::string_view(lines_.back().text)).empty()) {
        InsertLine(lines_.size(), "");
    }
    InsertLine(lines_.size(), "[" + EncodeUtf8Lossy(section) + "]");
    InsertLine(lines_.size(), keyLine);
}

void ProfileDocument::RemoveKey(std::wstring_view section, std::wstring_view key)
{
    // Every occurrence goes, so that the key reads as absent afterwards.
    while (const auto index = FindKeyLine(section, key)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
    }
}

void ProfileDocument::RemoveSection(std::wstring_view section)
{
    section = TrimBlanks(section);
    std::size_t header = 0;
    while (header < lines_.size()) {
        if (lines_[header].kind == Kind::Section && EqualNoCase(lines_[header].name, section)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                         lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
        } else {
            ++header;
        }
    }
}

std::string ProfileDocument::Bytes() const
{
    std::string bytes = byteOrderMark_;
    for (const Line& line : lines_) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

}  // namespace quorvane::kernel32
