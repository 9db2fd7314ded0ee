// The token level of DirectX X files: the 16-byte header, then either the text grammar or the
// binary token stream. The parser above sees one interface for both: structure tokens
// (names, braces, GUIDs, the template keyword) and data values (DWORDs, floats, strings).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::xfile {

enum class XFileError {
    none,
    badHeader,   // not "xof " with version 03xx, a known format and float size
    compressed,  // "tzip" / "bzip": compressed X files are not supported
    syntax,      // unexpected token, malformed number or string
    truncated,   // the bytes end inside a token or an object
    badData,     // counts, indices or references that do not fit together
    tooDeep,     // objects nested beyond the supported depth
    noMesh,      // a well-formed file without any Mesh object (or only empty ones)
};

const char* DescribeError(XFileError error);

enum class XTokenKind {
    name,  // an identifier
    guid,  // <...> in text, a 16-byte GUID in binary
    openBrace,
    closeBrace,
    templateKeyword,  // "template" in text, TOKEN_TEMPLATE in binary
    value,            // a number, a string or a list: data where structure was expected
    end,              // no more bytes
    invalid,          // anything else
};

class XTokenizer {
public:
    virtual ~XTokenizer() = default;

    // Structure. Peek skips separators (',' and ';') and comments and does not consume.
    virtual XTokenKind Peek() = 0;
    virtual bool ReadName(std::string& name) = 0;
    virtual bool ReadGuid() = 0;
    virtual bool ReadOpenBrace() = 0;
    virtual bool ReadCloseBrace() = 0;
    // After an opening brace: consumes everything up to and including the matching closing brace.
    virtual bool SkipToMatchingClose() = 0;

    // Data values, separators skipped.
    virtual bool ReadDword(std::uint32_t& value) = 0;
    virtual bool ReadFloat(float& value) = 0;
    virtual bool ReadString(std::string& value) = 0;
    // `count` values in a row, as that many single reads would give them; indices must be below
    // `limit` (badData at the first that is not).
    virtual bool ReadFloats(float* values, std::size_t count) { return ReadEachFloat(*this, values, count); }
    virtual bool ReadIndices(std::uint32_t* values, std::size_t count, std::uint32_t limit)
    {
        return ReadEachIndex(*this, values, count, limit);
    }

    // The face list after its count: for each face its corner count (3 or more, and no more than
    // the bytes can hold), then that many indices below `limit`. faceStarts gets 0 and the end of
    // every face in `corners`.
    virtual bool ReadFaces(std::uint32_t faceCount, std::uint32_t limit, std::vector<std::uint32_t>& faceStarts,
                           std::vector<std::uint32_t>& corners)
    {
        return ReadEachFace(*this, faceCount, limit, faceStarts, corners);
    }

    // Text only: the offset of the next byte to read, and whether the values ahead (after
    // separators) repeat byte for byte the earlier run [begin, end) of values, ending where it
    // ended; a repeated run is skipped, as reading it again gives what it gave the first time.
    // Binary tokenizers report noOffset and find no repeats.
    static constexpr std::size_t noOffset = SIZE_MAX;
    virtual std::size_t Offset() const { return noOffset; }
    virtual bool SkipRepeatOf(std::size_t /*begin*/, std::size_t /*end*/) { return false; }

    // Upper bound for how many more data values the bytes can hold; a declared count above it
    // cannot be genuine and is refused before anything is allocated for it.
    virtual std::size_t MaxRemainingValues() const = 0;

    XFileError error() const { return error_; }

protected:
    // The loops behind ReadFloats and ReadIndices; a final tokenizer passes itself, so that its
    // single reads are called directly.
    template <class Self>
    static bool ReadEachFloat(Self& self, float* values, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (!self.ReadFloat(values[i])) {
                return false;
            }
        }
        return true;
    }
    template <class Self>
    static bool ReadEachIndex(Self& self, std::uint32_t* values, std::size_t count, std::uint32_t limit)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (!self.ReadDword(values[i])) {
                return false;
            }
            if (values[i] >= limit) {
                return self.Fail(XFileError::badData);
            }
        }
        return true;
    }

    template <class Self>
    static bool ReadEachFace(Self& self, std::uint32_t faceCount, std::uint32_t limit,
                             std::vector<std::uint32_t>& faceStarts, std::vector<std::uint32_t>& corners)
    {
        faceStarts.assign(1, 0);
        faceStarts.reserve(std::size_t{faceCount} + 1);
        corners.resize(std::size_t{faceCount} * 3);  // room for triangles; polygons make it grow
        std::size_t used = 0;
        for (std::uint32_t face = 0; face < faceCount; ++face) {
            std::uint32_t cornerCount = 0;
            if (!self.ReadDword(cornerCount)) {
                return false;
            }
            if (cornerCount > self.MaxRemainingValues() || cornerCount < 3) {
                return self.Fail(XFileError::badData);
            }
            if (used + cornerCount > corners.size()) {
                corners.resize(std::max(corners.size() * 2, used + cornerCount));
            }
            if (!ReadEachIndex(self, &corners[used], cornerCount, limit)) {
                return false;
            }
            used += cornerCount;
            if (used > UINT32_MAX) {
                return self.Fail(XFileError::badData);
            }
            faceStarts.push_back(static_cast<std::uint32_t>(used));
        }
        corners.resize(used);
        return true;
    }

    bool Fail(XFileError error)
    {
        if (error_ == XFileError::none) {
            error_ = error;
        }
        return false;
    }

private:
    XFileError error_ = XFileError::none;
};

// The two body grammars, over the bytes after the header.
std::unique_ptr<XTokenizer> MakeTextTokenizer(const std::uint8_t* bytes, std::size_t size);
std::unique_ptr<XTokenizer> MakeBinaryTokenizer(const std::uint8_t* bytes, std::size_t size, bool doubleFloats);

// Reads the header and returns the tokenizer for the body, or null with `error` set.
std::unique_ptr<XTokenizer> OpenXFile(const std::uint8_t* bytes, std::size_t size, XFileError& error);

}  // namespace quorvane::xfile
