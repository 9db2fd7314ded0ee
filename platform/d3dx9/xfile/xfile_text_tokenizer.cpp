// The text grammar of X files. Commas and semicolons only separate values; exporters are
// inconsistent about them, so they are skipped wherever a value or a structure token is read.
#include <array>
#include <charconv>
#include <cmath>

#include "d3dx9/xfile/xfile_tokenizer.h"

namespace quorvane::xfile {
namespace {

bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
// White space, commas and semicolons, and NUL, which some exporters leave: one look-up per
// character, as most of a text file is these between numbers.
constexpr std::array<bool, 256> separators = [] {
    std::array<bool, 256> table{};
    for (const char c : {' ', '\t', '\r', '\n', ',', ';', '\0'}) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();
bool IsSeparator(char c)
{
    return separators[static_cast<unsigned char>(c)];
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}
bool IsNumberStart(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

class TextTokenizer final : public XTokenizer {
public:
    TextTokenizer(const std::uint8_t* bytes, std::size_t size) : text_(reinterpret_cast<const char*>(bytes), size) {}

    XTokenKind Peek() override
    {
        SkipSpaceAndSeparators();
        if (position_ >= text_.size()) {
            return XTokenKind::end;
        }
        const char c = text_[position_];
        if (IsNameStart(c)) {
            return NameAt(position_) == "template" ? XTokenKind::templateKeyword : XTokenKind::name;
        }
        switch (c) {
        case '{': return XTokenKind::openBrace;
        case '}': return XTokenKind::closeBrace;
        case '<': return XTokenKind::guid;
        case '"': return XTokenKind::value;
        default: return IsNumberStart(c) ? XTokenKind::value : XTokenKind::invalid;
        }
    }

    bool ReadName(std::string& name) override
    {
        const XTokenKind kind = Peek();
        if (kind != XTokenKind::name && kind != XTokenKind::templateKeyword) {
            return FailAtToken();
        }
        const std::string_view word = NameAt(position_);
        name.assign(word);
        position_ += word.size();
        return true;
    }

    bool ReadGuid() override
    {
        if (Peek() != XTokenKind::guid) {
            return FailAtToken();
        }
        const std::size_t close = text_.find('>', position_);
        if (close == std::string_view::npos) {
            return Fail(XFileError::truncated);
        }
        position_ = close + 1;
        return true;
    }

    bool ReadOpenBrace() override { return ReadSingleCharacter(XTokenKind::openBrace); }
    bool ReadCloseBrace() override { return ReadSingleCharacter(XTokenKind::closeBrace); }

    bool SkipToMatchingClose() override
    {
        std::size_t depth = 1;
        while (position_ < text_.size()) {
            const char c = text_[position_];
            if (c == '"') {
                const std::size_t close = text_.find('"', position_ + 1);
                if (close == std::string_view::npos) {
                    return Fail(XFileError::truncated);
                }
                position_ = close + 1;
                continue;
            }
            if (CommentAt(position_)) {
                SkipLine();
                continue;
            }
            ++position_;
            if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                return true;
            }
        }
        return Fail(XFileError::truncated);
    }

    bool ReadDword(std::uint32_t& value) override
    {
        SkipSpaceAndSeparators();
        return ReadShortDword(value) || ReadNumber(value);
    }

    bool ReadFloat(float& value) override
    {
        SkipSpaceAndSeparators();
        if (ReadShortDecimal(value)) {
            return true;
        }
        if (!ReadNumber(value)) {
            return false;
        }
        return std::isfinite(value) || Fail(XFileError::syntax);
    }

    bool ReadFloats(float* values, std::size_t count) override { return ReadEachFloat(*this, values, count); }
    bool ReadIndices(std::uint32_t* values, std::size_t count, std::uint32_t limit) override
    {
        return ReadEachIndex(*this, values, count, limit);
    }

    bool ReadString(std::string& value) override
    {
        SkipSpaceAndSeparators();
        if (position_ >= text_.size()) {
            return Fail(XFileError::truncated);
        }
        if (text_[position_] != '"') {
            return Fail(XFileError::syntax);
        }
        const std::size_t close = text_.find('"', position_ + 1);
        if (close == std::string_view::npos) {
            return Fail(XFileError::truncated);
        }
        value.assign(text_.substr(position_ + 1, close - position_ - 1));
        position_ = close + 1;
        return true;
    }

    // Every value takes at least one character and one separator or space.
    std::size_t MaxRemainingValues() const override { return (text_.size() - position_ + 1) / 2; }

private:
    std::string_view NameAt(std::size_t start) const
    {
        std::size_t end = start;
        while (end < text_.size() && IsNameChar(text_[end])) {
            ++end;
        }
        return text_.substr(start, end - start);
    }

    void SkipLine()
    {
        const std::size_t newline = text_.find('\n', position_);
        position_ = newline == std::string_view::npos ? text_.size() : newline + 1;
    }

    void SkipSpaceAndSeparators()
    {
        for (;;) {
            while (position_ < text_.size() && IsSeparator(text_[position_])) {
                ++position_;
            }
            if (!CommentAt(position_)) {
                return;
            }
            SkipLine();
        }
    }

    bool CommentAt(std::size_t at) const
    {
        return at < text_.size() &&
               (text_[at] == '#' || (text_[at] == '/' && at + 1 < text_.size() && text_[at + 1] == '/'));
    }

    bool ReadSingleCharacter(XTokenKind kind)
    {
        if (Peek() != kind) {
            return FailAtToken();
        }
        ++position_;
        return true;
    }

    // The common forms of numbers read as they are scanned; anything else is left to ReadNumber,
    // which gives the same value for these.

    // Up to nine digits after an optional '+': below 10^9, no overflow to check.
    bool ReadShortDword(std::uint32_t& value)
    {
        const char* const end = text_.data() + text_.size();
        const char* at = text_.data() + position_;
        at += at < end && *at == '+' ? 1 : 0;
        const char* const digitsStart = at;
        std::uint32_t number = 0;
        for (; at < end && at - digitsStart < 9 && IsDigit(*at); ++at) {
            number = number * 10 + static_cast<std::uint32_t>(*at - '0');
        }
        if (at == digitsStart || !NumberEndsAt(at, end)) {
            return false;
        }
        value = number;
        position_ = static_cast<std::size_t>(at - text_.data());
        return true;
    }

    // [sign] digits [. digits] without exponent, with at most ten decimals and a digit string
    // of at most 2^24: both the digits and the power of ten are exact floats, so one division
    // rounds the way from_chars does.
    bool ReadShortDecimal(float& value)
    {
        static constexpr float powersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        constexpr std::uint64_t largestExact = std::uint64_t{1} << 24;
        const char* const end = text_.data() + text_.size();
        const char* at = text_.data() + position_;
        const bool negative = at < end && *at == '-';
        at += at < end && (*at == '-' || *at == '+') ? 1 : 0;
        std::uint64_t digits = 0;
        const std::size_t integerDigits = ScanDigits(at, end, digits);
        std::size_t decimals = 0;
        if (at < end && *at == '.') {
            ++at;
            decimals = ScanDigits(at, end, digits);
            if (decimals == 0) {
                return false;
            }
        }
        if (integerDigits == 0 || integerDigits + decimals > 19 || decimals > 10 || digits > largestExact ||
            !NumberEndsAt(at, end)) {
            return false;
        }
        const float magnitude = static_cast<float>(digits) / powersOfTen[decimals];
        value = negative ? -magnitude : magnitude;
        position_ = static_cast<std::size_t>(at - text_.data());
        return true;
    }

    // Digits from `at` on, appended to `digits` (which may wrap: callers refuse more than 19 digits).
    static std::size_t ScanDigits(const char*& at, const char* end, std::uint64_t& digits)
    {
        const char* const start = at;
        for (; at < end && IsDigit(*at); ++at) {
            digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
        }
        return static_cast<std::size_t>(at - start);
    }

    static bool NumberEndsAt(const char* at, const char* end) { return at == end || !IsNumberChar(*at); }

    // The next number, whole: an optional '+', then what from_chars reads for T and nothing more.
    template <typename T>
    bool ReadNumber(T& value)
    {
        std::string_view number;
        if (!ReadNumberText(number)) {
            return false;
        }
        if (!number.empty() && number.front() == '+') {
            number.remove_prefix(1);
        }
        const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
        if (result.ec != std::errc{} || result.ptr != number.data() + number.size()) {
            return Fail(XFileError::syntax);
        }
        return true;
    }

    bool ReadNumberText(std::string_view& number)
    {
        SkipSpaceAndSeparators();
        if (position_ >= text_.size()) {
            return Fail(XFileError::truncated);
        }
        std::size_t end = position_;
        while (end < text_.size() && IsNumberChar(text_[end])) {
            ++end;
        }
        if (end == position_) {
            return Fail(XFileError::syntax);
        }
        number = text_.substr(position_, end - position_);
        position_ = end;
        return true;
    }

    bool FailAtToken() { return Fail(position_ >= text_.size() ? XFileError::truncated : XFileError::syntax); }

    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace

std::unique_ptr<XTokenizer> MakeTextTokenizer(const std::uint8_t* bytes, std::size_t size)
{
    return std::make_unique<TextTokenizer>(bytes, size);
}

}  // namespace quorvane::xfile
