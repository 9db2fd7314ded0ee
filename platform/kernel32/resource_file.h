// The resources of a compiled resource script (the .res file windres writes), built into the
// executable as bytes and served by FindResourceW and its companions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "kernel32/module_resources.h"

namespace quorvane::kernel32 {

// One resource of a .res file: its type and name (an identifier or a name), its language and
// where its data lies in the file.
struct ResourceFileEntry {
    std::optional<unsigned> typeId;
    std::wstring typeName;
    std::optional<unsigned> nameId;
    std::wstring nameText;
    unsigned language = 0;  // a LANGID
    std::size_t offset = 0;
    std::size_t size = 0;
};

// The entries of a .res file in file order, without the empty entry that opens it. False when
// the bytes are not a well-formed .res file (then nothing is returned).
bool ParseResourceFile(const unsigned char* bytes, std::size_t size, std::vector<ResourceFileEntry>& entries);

// Adds the resources of a .res file to those the process module serves. The bytes are not
// copied: they must live as long as the process (the build links them in as static data).
// Called from static initialisation by the source the build generates for each resource script.
bool LinkResourceFile(const unsigned char* bytes, std::size_t size);

}  // namespace quorvane::kernel32
