#include "kernel32/resource_reader.h"

#include "kernel32/utf16.h"

namespace quorvane::kernel32 {

bool ResourceReader::Byte(std::uint8_t& value)
{
    if (Remaining() < 1)
        return false;
    value = bytes_[at_++];
    return true;
}

bool ResourceReader::Word(std::uint16_t& value)
{
    if (Remaining() < 2)
        return false;
    value = std::uint16_t(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return true;
}

bool ResourceReader::Dword(std::uint32_t& value)
{
    std::uint16_t low = 0, high = 0;
    if (Remaining() < 4 || !Word(low) || !Word(high))
        return false;
    value = std::uint32_t(low) | std::uint32_t(high) << 16;
    return true;
}

bool ResourceReader::Short(std::int16_t& value)
{
    std::uint16_t word = 0;
    if (!Word(word))
        return false;
    value = std::int16_t(word);
    return true;
}

bool ResourceReader::Text(std::wstring& text)
{
    std::u16string units;
    for (std::uint16_t unit = 0;;) {
        if (!Word(unit))
            return false;
        if (unit == 0)
            break;
        units += char16_t(unit);
    }
    text = DecodeUtf16(units);
    return true;
}

bool ResourceReader::CountedText(std::size_t count, std::wstring& text)
{
    if (Remaining() / 2 < count)
        return false;
    std::u16string units(count, u'\0');
    for (char16_t& unit : units) {
        std::uint16_t word = 0;
        Word(word);
        unit = char16_t(word);
    }
    text = DecodeUtf16(units);
    return true;
}

bool ResourceReader::IdOrName(IdOrText& value)
{
    value = IdOrText{};
    std::uint16_t first = 0;
    if (Remaining() < 2)
        return false;
    std::size_t start = at_;
    Word(first);
    if (first == 0xFFFF) {
        std::uint16_t id = 0;
        if (!Word(id))
            return false;
        value.id = id;
        return true;
    }
    at_ = start;
    return Text(value.text);
}

bool ResourceReader::Skip(std::size_t count)
{
    if (Remaining() < count)
        return false;
    at_ += count;
    return true;
}

bool ResourceReader::Align(std::size_t alignment)
{
    std::size_t aligned = (at_ + alignment - 1) / alignment * alignment;
    if (aligned > end_)
        return false;
    at_ = aligned;
    return true;
}

}  // namespace quorvane::kernel32
