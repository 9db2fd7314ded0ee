# cmake -DINPUT=file.res -DOUTPUT=file.cpp -P embed_resources.cmake
# Writes the .res file as a C++ array and links it into the process module's resources when
# the program starts (see resources.cmake).
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 24 bytes keep the generated file readable.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n    " bytes "${bytes}")
get_filename_component(res_name ${INPUT} NAME)
file(WRITE ${OUTPUT} "// Generated from ${res_name} by cmake/embed_resources.cmake: do not edit.
#include <cstddef>

namespace quorvane::kernel32 {
bool LinkResourceFile(const unsigned char* bytes, std::size_t size);
}

namespace {

alignas(4) const unsigned char resourceFile[${size} + 1] = {
    ${bytes}
};

const bool linked = quorvane::kernel32::LinkResourceFile(resourceFile, ${size});

}  // namespace
")
