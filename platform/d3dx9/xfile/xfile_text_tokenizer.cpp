// The text grammar of X files. Commas and semicolons only separate values; exporters are
// inconsistent about them, so they are skipped wherever a value or a structure token is read.
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
            if (c == '#' || (c == '/' && position_ + 1 < text_.size() && text_[position_ + 1] == '/')) {
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

    bool ReadDword(std::uint32_t& value) override { return ReadNumber(value); }

    bool ReadFloat(float& value) override
    {
        if (!ReadNumber(value)) {
            return false;
        }
        return std::isfinite(value) || Fail(XFileError::syntax);
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
        while (position_ < text_.size()) {
            const char c = text_[position_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';' || c == '\0') {
                ++position_;
            } else if (c == '#' || (c == '/' && position_ + 1 < text_.size() && text_[position_ + 1] == '/')) {
                SkipLine();
            } else {
                return;
            }
        }
    }

    bool ReadSingleCharacter(XTokenKind kind)
    {
        if (Peek() != kind) {
            return FailAtToken();
        }
        ++position_;
        return true;
    }

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
