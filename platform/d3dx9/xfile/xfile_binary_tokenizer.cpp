// The binary token stream of X files: 16-bit little-endian token numbers, some followed by a
// payload. Data arrive in integer and float lists, which are handed out one value at a time.
#include <cfloat>
#include <cmath>
#include <cstring>

#include "d3dx9/xfile/xfile_tokenizer.h"

namespace quorvane::xfile {
namespace {

enum Token : std::uint16_t {
    tokenName = 1,
    tokenString = 2,
    tokenInteger = 3,
    tokenGuid = 5,
    tokenIntegerList = 6,
    tokenFloatList = 7,
    tokenOpenBrace = 10,
    tokenCloseBrace = 11,
    tokenComma = 19,
    tokenSemicolon = 20,
    tokenTemplate = 31,
};

constexpr std::size_t guidSize = 16;

class BinaryTokenizer final : public XTokenizer {
public:
    BinaryTokenizer(const std::uint8_t* bytes, std::size_t size, bool doubleFloats)
        : bytes_(bytes), size_(size), floatSize_(doubleFloats ? 8 : 4)
    {
    }

    XTokenKind Peek() override
    {
        if (list_.remaining > 0) {
            return XTokenKind::value;
        }
        std::uint16_t token = 0;
        while (PeekToken(token) && (token == tokenComma || token == tokenSemicolon)) {
            position_ += 2;
        }
        if (position_ >= size_) {
            return XTokenKind::end;
        }
        if (position_ + 2 > size_) {
            return XTokenKind::invalid;
        }
        switch (token) {
        case tokenName: return XTokenKind::name;
        case tokenGuid: return XTokenKind::guid;
        case tokenOpenBrace: return XTokenKind::openBrace;
        case tokenCloseBrace: return XTokenKind::closeBrace;
        case tokenTemplate: return XTokenKind::templateKeyword;
        case tokenString:
        case tokenInteger:
        case tokenIntegerList:
        case tokenFloatList: return XTokenKind::value;
        default: return XTokenKind::invalid;
        }
    }

    bool ReadName(std::string& name) override
    {
        const XTokenKind kind = Peek();
        if (kind == XTokenKind::templateKeyword) {
            position_ += 2;
            name = "template";
            return true;
        }
        if (kind != XTokenKind::name) {
            return FailAtToken();
        }
        position_ += 2;
        return ReadCountedText(name);
    }

    bool ReadGuid() override
    {
        if (Peek() != XTokenKind::guid) {
            return FailAtToken();
        }
        return Skip(2 + guidSize);
    }

    bool ReadOpenBrace() override { return ReadSingleToken(XTokenKind::openBrace); }
    bool ReadCloseBrace() override { return ReadSingleToken(XTokenKind::closeBrace); }

    bool SkipToMatchingClose() override
    {
        list_ = List{};
        std::size_t depth = 1;
        while (depth > 0) {
            std::uint16_t token = 0;
            if (!PeekToken(token)) {
                return Fail(XFileError::truncated);
            }
            position_ += 2;
            std::uint32_t count = 0;
            switch (token) {
            case tokenOpenBrace: ++depth; break;
            case tokenCloseBrace: --depth; break;
            case tokenName:
            case tokenString:
                if (!ReadU32(count) || !Skip(count)) {
                    return false;
                }
                if (token == tokenString) {
                    SkipStringTerminator();
                }
                break;
            case tokenInteger:
                if (!Skip(4)) {
                    return false;
                }
                break;
            case tokenGuid:
                if (!Skip(guidSize)) {
                    return false;
                }
                break;
            case tokenIntegerList:
            case tokenFloatList:
                if (!ReadU32(count) || !Skip(std::uint64_t{count} * (token == tokenIntegerList ? 4 : floatSize_))) {
                    return false;
                }
                break;
            default: break;  // tokens without payload (separators, brackets, type keywords)
            }
        }
        return true;
    }

    bool ReadDword(std::uint32_t& value) override
    {
        if (list_.remaining == 0 && !StartList(tokenIntegerList)) {
            return false;
        }
        if (list_.token != tokenIntegerList) {
            return Fail(XFileError::syntax);
        }
        std::memcpy(&value, bytes_ + list_.next, 4);
        list_.Advance(4);
        return true;
    }

    bool ReadFloat(float& value) override
    {
        if (list_.remaining == 0 && !StartList(tokenFloatList)) {
            return false;
        }
        if (list_.token != tokenFloatList) {
            return Fail(XFileError::syntax);
        }
        if (floatSize_ == 8) {
            double wide = 0;
            std::memcpy(&wide, bytes_ + list_.next, 8);
            if (!(std::fabs(wide) <= FLT_MAX)) {
                return Fail(XFileError::badData);
            }
            value = static_cast<float>(wide);
        } else {
            std::memcpy(&value, bytes_ + list_.next, 4);
            if (!std::isfinite(value)) {
                return Fail(XFileError::badData);
            }
        }
        list_.Advance(floatSize_);
        return true;
    }

    bool ReadString(std::string& value) override
    {
        if (list_.remaining > 0) {
            return Fail(XFileError::syntax);
        }
        std::uint16_t token = 0;
        if (!PeekToken(token)) {
            return Fail(XFileError::truncated);
        }
        if (token != tokenString) {
            return Fail(XFileError::syntax);
        }
        position_ += 2;
        if (!ReadCountedText(value)) {
            return false;
        }
        SkipStringTerminator();
        return true;
    }

    // A value takes at least 4 bytes (a list entry); a list value already counted stays in.
    std::size_t MaxRemainingValues() const override { return list_.remaining + (size_ - position_) / 4; }

private:
    // The list being handed out: its token, the offset of its next entry, the entries left.
    struct List {
        std::uint16_t token = 0;
        std::size_t next = 0;
        std::uint32_t remaining = 0;

        void Advance(std::size_t entrySize)
        {
            next += entrySize;
            --remaining;
        }
    };

    bool PeekToken(std::uint16_t& token) const
    {
        if (size_ - position_ < 2) {
            return false;
        }
        token = static_cast<std::uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
        return true;
    }

    bool ReadU32(std::uint32_t& value)
    {
        if (size_ - position_ < 4) {
            return Fail(XFileError::truncated);
        }
        std::memcpy(&value, bytes_ + position_, 4);
        position_ += 4;
        return true;
    }

    bool Skip(std::uint64_t count)
    {
        if (count > size_ - position_) {
            return Fail(XFileError::truncated);
        }
        position_ += static_cast<std::size_t>(count);
        return true;
    }

    bool ReadCountedText(std::string& text)
    {
        std::uint32_t count = 0;
        if (!ReadU32(count)) {
            return false;
        }
        if (count > size_ - position_) {
            return Fail(XFileError::truncated);
        }
        text.assign(reinterpret_cast<const char*>(bytes_ + position_), count);
        position_ += count;
        return true;
    }

    // A string ends with a comma or semicolon token; writers that leave it out are tolerated.
    void SkipStringTerminator()
    {
        std::uint16_t token = 0;
        if (PeekToken(token) && (token == tokenComma || token == tokenSemicolon)) {
            position_ += 2;
        }
    }

    bool ReadSingleToken(XTokenKind kind)
    {
        if (Peek() != kind) {
            return FailAtToken();
        }
        position_ += 2;
        return true;
    }

    // Reads the next data token: a list of the wanted kind or a single integer, which is
    // handed out as a one-entry integer list. Empty lists are passed over.
    bool StartList(std::uint16_t wanted)
    {
        for (;;) {
            std::uint16_t token = 0;
            while (PeekToken(token) && (token == tokenComma || token == tokenSemicolon)) {
                position_ += 2;
            }
            if (!PeekToken(token)) {
                return Fail(XFileError::truncated);
            }
            std::uint32_t count = 1;
            if (token == tokenInteger && wanted == tokenIntegerList) {
                position_ += 2;
            } else if (token == wanted) {
                position_ += 2;
                if (!ReadU32(count)) {
                    return false;
                }
            } else {
                return Fail(XFileError::syntax);
            }
            const std::size_t entrySize = wanted == tokenIntegerList ? 4 : floatSize_;
            if (std::uint64_t{count} * entrySize > size_ - position_) {
                return Fail(XFileError::truncated);
            }
            if (count > 0) {
                list_ = List{wanted, position_, count};
                position_ += std::size_t{count} * entrySize;
                return true;
            }
        }
    }

    bool FailAtToken() { return Fail(size_ - position_ < 2 ? XFileError::truncated : XFileError::syntax); }

    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t floatSize_;
    std::size_t position_ = 0;
    List list_;
};

}  // namespace

std::unique_ptr<XTokenizer> MakeBinaryTokenizer(const std::uint8_t* bytes, std::size_t size, bool doubleFloats)
{
    return std::make_unique<BinaryTokenizer>(bytes, size, doubleFloats);
}

}  // namespace quorvane::xfile
