// The text grammar of X files. Commas and semicolons only separate values; exporters are
// inconsistent about them, so they are skipped wherever a value or a structure token is read.
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

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
// Digits, signs, the point and the exponent's letter: one look-up, as every number ends with a test.
constexpr std::array<bool, 256> numberCharacters = [] {
    std::array<bool, 256> table{};
    for (const char c : std::string_view("0123456789+-.eE")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();
bool IsNumberChar(char c)
{
    return numberCharacters[static_cast<unsigned char>(c)];
}
bool IsNumberStart(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

// Eight characters at once in a 64-bit word, the first in the lowest byte.
namespace swar {

constexpr std::uint64_t zeros = 0x3030303030303030;  // "00000000"

// How many of the leading lanes of `digits` (characters xor '0') hold 0..9.
int LeadingDigitCount(std::uint64_t digits)
{
    // A lane's top bit is set where it is not a digit: its low seven bits plus 0x76 reach 0x80
    // from 10 on, and the top bit of the lane itself counts too; no carry crosses lanes.
    const std::uint64_t notDigit = (((digits & 0x7F7F7F7F7F7F7F7F) + 0x7676767676767676) | digits) & 0x8080808080808080;
    return notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
}

// The number whose eight decimal digits (0..9, most significant first) fill the lanes.
std::uint32_t EightDigitsValue(std::uint64_t digits)
{
    digits = digits * 10 + (digits >> 8);  // pairs of digits in every other lane
    constexpr std::uint64_t pairMask = 0x000000FF000000FF;
    constexpr std::uint64_t pairsHigh = 100 + (1000000ull << 32);
    constexpr std::uint64_t pairsLow = 1 + (10000ull << 32);
    return static_cast<std::uint32_t>(((digits & pairMask) * pairsHigh + ((digits >> 16) & pairMask) * pairsLow) >> 32);
}

}  // namespace swar

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

    // Both try the common form right after the separators first: a number never starts a
    // comment, so the comment check is only needed when that fails.
    // The general reads are kept out of line so that the array loops inline the common form.
    bool ReadDword(std::uint32_t& value) override
    {
        SkipSeparatorRun();
        return ReadEightDigitsAtMost(value) || ReadGeneralDword(value);
    }

    bool ReadFloat(float& value) override
    {
        SkipSeparatorRun();
        return ReadSixDecimals(value) || ReadGeneralFloat(value);
    }

    [[gnu::noinline]] bool ReadGeneralDword(std::uint32_t& value)
    {
        SkipSpaceAndSeparators();
        return ReadEightDigitsAtMost(value) || ReadShortDword(value) || ReadNumber(value);
    }

    [[gnu::noinline]] bool ReadGeneralFloat(float& value)
    {
        SkipSpaceAndSeparators();
        if (ReadSixDecimals(value) || ReadShortDecimal(value)) {
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
    bool ReadFaces(std::uint32_t faceCount, std::uint32_t limit, std::vector<std::uint32_t>& faceStarts,
                   std::vector<std::uint32_t>& corners) override
    {
        return ReadEachFace(*this, faceCount, limit, faceStarts, corners);
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

    std::size_t Offset() const override { return position_; }

    bool SkipRepeatOf(std::size_t begin, std::size_t end) override
    {
        SkipSpaceAndSeparators();
        if (begin > end || end > text_.size() || end - begin > text_.size() - position_) {
            return false;
        }
        const std::size_t after = position_ + (end - begin);
        // The run's last number ended at `end`; the repeat's must end at the same place.
        if (text_.compare(position_, end - begin, text_.substr(begin, end - begin)) != 0 ||
            (after < text_.size() && IsNumberChar(text_[after]))) {
            return false;
        }
        position_ = after;
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

    void SkipSeparatorRun()
    {
        std::size_t at = position_;
        while (at < text_.size() && IsSeparator(text_[at])) {
            ++at;
        }
        position_ = at;
    }

    void SkipSpaceAndSeparators()
    {
        for (;;) {
            SkipSeparatorRun();
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

    // The two forms data tools write most, each read from one 8-byte load: an index of up to
    // seven digits and a decimal "[-]d.dddddd". They give what the general paths below give.

    // 1 to 7 digits, then a character that ends the number.
    bool ReadEightDigitsAtMost(std::uint32_t& value)
    {
        std::uint64_t lanes = 0;
        if (!LoadEightBytes(position_, lanes)) {
            return false;
        }
        const std::uint64_t digits = lanes ^ swar::zeros;
        const int count = swar::LeadingDigitCount(digits);
        if (count == 0 || count == 8 || IsNumberChar(text_[position_ + count])) {
            return false;
        }
        value = swar::EightDigitsValue(digits << (8 * (8 - count)));
        position_ += count;
        return true;
    }

    // "[-]d.dddddd" followed by a character that ends the number: seven digits below 2^24
    // divided by 10^6, as ReadShortDecimal divides them.
    bool ReadSixDecimals(float& value)
    {
        const bool negative = position_ < text_.size() && text_[position_] == '-';
        const std::size_t start = position_ + (negative ? 1 : 0);
        std::uint64_t lanes = 0;
        if (!LoadEightBytes(start, lanes) || (lanes >> 8 & 0xFF) != '.' ||
            (start + 8 < text_.size() && IsNumberChar(text_[start + 8]))) {
            return false;
        }
        // "d.dddddd" -> "0ddddddd": the integer digit moves into the point's place.
        const std::uint64_t shifted = (lanes & 0xFFFFFFFFFFFF0000) | (lanes & 0xFF) << 8 | '0';
        const std::uint64_t digits = shifted ^ swar::zeros;
        if (swar::LeadingDigitCount(digits) != 8) {
            return false;
        }
        const float magnitude = static_cast<float>(swar::EightDigitsValue(digits)) / 1e6f;
        value = negative ? -magnitude : magnitude;
        position_ = start + 8;
        return true;
    }

    // The eight bytes from `at` as one little-endian word, when there are eight.
    bool LoadEightBytes(std::size_t at, std::uint64_t& lanes) const
    {
        if (at + 8 > text_.size()) {
            return false;
        }
        std::memcpy(&lanes, text_.data() + at, 8);
        if constexpr (std::endian::native == std::endian::big) {
            lanes = __builtin_bswap64(lanes);
        }
        return true;
    }

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
        if (!ParseWhole(number, value)) {
            return Fail(XFileError::syntax);
        }
        return true;
    }

    // from_chars where the standard library has it for T; a library without the floating-point
    // overloads (the browser build's) reads through strtod in the "C" locale the program runs in.
    template <typename T>
    static bool ParseWhole(std::string_view number, T& value)
    {
        const char* first = number.data();
        const char* last = first + number.size();
        if constexpr (requires { std::from_chars(first, last, value); }) {
            const auto result = std::from_chars(first, last, value);
            return result.ec == std::errc{} && result.ptr == last;
        } else {
            const std::string text(number);
            if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-' ||
                                  text.front() == '.')) {
                return false;
            }
            char* end = nullptr;
            errno = 0;
            const double parsed = std::strtod(text.c_str(), &end);
            if (end != text.c_str() + text.size() || (errno == ERANGE && std::isinf(parsed)) ||
                std::abs(parsed) > static_cast<double>(std::numeric_limits<T>::max())) {
                return false;
            }
            value = static_cast<T>(parsed);
            return true;
        }
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
