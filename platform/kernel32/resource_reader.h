// Reading the binary layouts of compiled resources (the .res file, string tables, menu,
// accelerator, dialog and icon templates): little-endian numbers and UTF-16 texts, every read
// checked against the end, so a damaged resource fails instead of reading past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::kernel32 {

// A resource's type, name, window class or title in a template: a 16-bit identifier (after
// 0xFFFF) or a text (empty when the template has a lone 0).
struct IdOrText {
    std::optional<std::uint16_t> id;
    std::wstring text;
};

class ResourceReader {
public:
    // Reads bytes [at, end) of `bytes`; alignment counts from `bytes` itself.
    ResourceReader(const unsigned char* bytes, std::size_t end, std::size_t at = 0) : bytes_(bytes), end_(end), at_(at)
    {
    }

    bool Byte(std::uint8_t& value);
    bool Word(std::uint16_t& value);
    bool Dword(std::uint32_t& value);
    bool Short(std::int16_t& value);
    // A zero-terminated UTF-16 text.
    bool Text(std::wstring& text);
    // UTF-16 text of a given length in units (no terminator).
    bool CountedText(std::size_t units, std::wstring& text);
    bool IdOrName(IdOrText& value);
    bool Skip(std::size_t count);
    // Moves on to the next multiple of `alignment`; false past the end.
    bool Align(std::size_t alignment);

    std::size_t At() const { return at_; }
    std::size_t Remaining() const { return end_ - at_; }

private:
    const unsigned char* bytes_;
    std::size_t end_;
    std::size_t at_;
};

}  // namespace quorvane::kernel32
