// The X file header: "xof ", version "03" + minor, format, float size.
#include "d3dx9/xfile/xfile_tokenizer.h"

#include <cstring>

namespace quorvane::xfile {

const char* DescribeError(XFileError error)
{
    switch (error) {
    case XFileError::none: return "no error";
    case XFileError::badHeader: return "not an X file of version 3 with a known format and float size";
    case XFileError::compressed: return "compressed X files (tzip, bzip) are not supported";
    case XFileError::syntax: return "syntax error";
    case XFileError::truncated: return "the file ends inside a token or an object";
    case XFileError::badData: return "counts, indices or references that do not fit together";
    case XFileError::tooDeep: return "objects nested too deeply";
    case XFileError::noMesh: return "the file holds no mesh";
    }
    return "unknown error";
}

std::unique_ptr<XTokenizer> OpenXFile(const std::uint8_t* bytes, std::size_t size, XFileError& error)
{
    constexpr std::size_t headerSize = 16;
    error = XFileError::badHeader;
    if (bytes == nullptr || size < headerSize || std::memcmp(bytes, "xof 03", 6) != 0) {
        return nullptr;
    }
    const char* format = reinterpret_cast<const char*>(bytes + 8);
    const char* floatSize = reinterpret_cast<const char*>(bytes + 12);
    const bool doubles = std::memcmp(floatSize, "0064", 4) == 0;
    if (!doubles && std::memcmp(floatSize, "0032", 4) != 0) {
        return nullptr;
    }
    const std::uint8_t* body = bytes + headerSize;
    const std::size_t bodySize = size - headerSize;
    if (std::memcmp(format, "txt ", 4) == 0) {
        error = XFileError::none;
        return MakeTextTokenizer(body, bodySize);
    }
    if (std::memcmp(format, "bin ", 4) == 0) {
        error = XFileError::none;
        return MakeBinaryTokenizer(body, bodySize, doubles);
    }
    if (std::memcmp(format, "tzip", 4) == 0 || std::memcmp(format, "bzip", 4) == 0) {
        error = XFileError::compressed;
    }
    return nullptr;
}

}  // namespace quorvane::xfile
