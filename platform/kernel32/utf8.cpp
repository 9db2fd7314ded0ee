// UTF-8 decoding and encoding with the well-formedness rules of the Unicode standard.
#include "kernel32/utf8.h"

#include <cstdint>

namespace quorvane::kernel32 {
namespace {

constexpr wchar_t replacementCharacter = 0xFFFD;

bool IsEncodable(std::uint32_t codePoint)
{
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

void AppendUtf8(std::uint32_t codePoint, std::string& bytes)
{
    if (codePoint < 0x80) {
        bytes += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        bytes += static_cast<char>(0xC0 | (codePoint >> 6));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        bytes += static_cast<char>(0xE0 | (codePoint >> 12));
        bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (codePoint >> 18));
        bytes += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// What a lead byte promises: how many continuation bytes follow and the range the first of
// them must lie in (the narrower ranges exclude overlong forms, surrogates and > U+10FFFF).
struct LeadByte {
    int continuationCount;
    unsigned char firstLow;
    unsigned char firstHigh;
    std::uint32_t payload;
};

bool ReadLeadByte(unsigned char byte, LeadByte& lead)
{
    if (byte >= 0xC2 && byte <= 0xDF)
        lead = {1, 0x80, 0xBF, byte & 0x1Fu};
    else if (byte == 0xE0)
        lead = {2, 0xA0, 0xBF, 0};
    else if (byte == 0xED)
        lead = {2, 0x80, 0x9F, 0xD};
    else if (byte >= 0xE1 && byte <= 0xEF)
        lead = {2, 0x80, 0xBF, byte & 0x0Fu};
    else if (byte == 0xF0)
        lead = {3, 0x90, 0xBF, 0};
    else if (byte >= 0xF1 && byte <= 0xF3)
        lead = {3, 0x80, 0xBF, byte & 0x07u};
    else if (byte == 0xF4)
        lead = {3, 0x80, 0x8F, 4};
    else
        return false;
    return true;
}

}  // namespace

bool DecodeUtf8(std::string_view bytes, std::wstring& text, InvalidUtf8 invalid)
{
    text.clear();
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text += static_cast<wchar_t>(byte);
            ++i;
            continue;
        }
        LeadByte lead{};
        bool complete = ReadLeadByte(byte, lead);
        std::uint32_t codePoint = lead.payload;
        std::size_t next = i + 1;
        for (int k = 0; complete && k < lead.continuationCount; ++k, ++next) {
            const unsigned char low = k == 0 ? lead.firstLow : 0x80;
            const unsigned char high = k == 0 ? lead.firstHigh : 0xBF;
            if (next >= bytes.size()) {
                complete = false;
                break;
            }
            const auto continuation = static_cast<unsigned char>(bytes[next]);
            if (continuation < low || continuation > high) {
                complete = false;
                break;
            }
            codePoint = (codePoint << 6) | (continuation & 0x3Fu);
        }
        if (!complete) {
            if (invalid == InvalidUtf8::Reject)
                return false;
            text += replacementCharacter;  // one for the whole maximal subpart
            i = next;
            continue;
        }
        text += static_cast<wchar_t>(codePoint);
        i = next;
    }
    return true;
}

bool EncodeUtf8(std::wstring_view text, std::string& bytes)
{
    bytes.clear();
    bytes.reserve(text.size());
    for (wchar_t unit : text) {
        const auto codePoint = static_cast<std::uint32_t>(unit);
        if (!IsEncodable(codePoint))
            return false;
        AppendUtf8(codePoint, bytes);
    }
    return true;
}

std::string EncodeUtf8Lossy(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t unit : text) {
        const auto codePoint = static_cast<std::uint32_t>(unit);
        AppendUtf8(IsEncodable(codePoint) ? codePoint : replacementCharacter, bytes);
    }
    return bytes;
}

}  // namespace quorvane::kernel32
