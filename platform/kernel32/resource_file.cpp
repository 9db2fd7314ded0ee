// The .res format: a sequence of entries, each a header (data size, header size, type, name,
// then version, memory flags, language, version and characteristics) followed by the data, both
// padded to four bytes. Types and names are either 0xFFFF and a 16-bit identifier or a
// zero-terminated UTF-16 string. Everything is little-endian.
#include "kernel32/resource_file.h"

#include <deque>

#include "kernel32/resource_reader.h"

namespace quorvane::kernel32 {

namespace {

constexpr std::size_t fixedHeaderTail = 16;  // DataVersion .. Characteristics
constexpr std::size_t languageInTail = 6;    // after DataVersion and MemoryFlags

std::size_t AlignedToFour(std::size_t offset)
{
    return (offset + 3) & ~std::size_t{3};
}

bool ParseEntry(const unsigned char* bytes, std::size_t size, std::size_t& offset, ResourceFileEntry& entry)
{
    ResourceReader cursor(bytes, size, offset);
    std::uint32_t dataSize = 0, headerSize = 0;
    if (!cursor.Dword(dataSize) || !cursor.Dword(headerSize))
        return false;
    if (headerSize < 8 || headerSize > size - offset || dataSize > size - offset - headerSize)
        return false;
    ResourceReader header(bytes, offset + headerSize, cursor.At());
    IdOrText type, name;
    std::uint16_t language = 0;
    if (!header.IdOrName(type) || !header.IdOrName(name) || !header.Align(4) || header.Remaining() < fixedHeaderTail ||
        !header.Skip(languageInTail) || !header.Word(language))
        return false;
    entry.language = language;
    entry.typeId = type.id;
    entry.typeName = type.text;
    entry.nameId = name.id;
    entry.nameText = name.text;
    entry.offset = offset + headerSize;
    entry.size = dataSize;
    offset = AlignedToFour(entry.offset + dataSize);
    return true;
}

// What the process serves: every linked .res file's entries, with the names they point to.
struct LinkedFiles {
    std::deque<std::wstring> names;  // a deque: names keep their addresses as more are added
    std::vector<LinkedResource> table;
};

LinkedFiles& Linked()
{
    static auto* files = new LinkedFiles;  // never destroyed: served until the process ends
    return *files;
}

LPCWSTR Designation(const std::optional<unsigned>& id, const std::wstring& name)
{
    if (id)
        return MAKEINTRESOURCEW(*id);
    return Linked().names.emplace_back(name).c_str();
}

}  // namespace

bool ParseResourceFile(const unsigned char* bytes, std::size_t size, std::vector<ResourceFileEntry>& entries)
{
    std::vector<ResourceFileEntry> parsed;
    for (std::size_t offset = 0; offset < size;) {
        ResourceFileEntry entry;
        if (!ParseEntry(bytes, size, offset, entry))
            return false;
        bool opening = entry.size == 0 && entry.typeId == 0u && entry.nameId == 0u;
        if (!opening)
            parsed.push_back(std::move(entry));
    }
    entries = std::move(parsed);
    return true;
}

bool LinkResourceFile(const unsigned char* bytes, std::size_t size)
{
    std::vector<ResourceFileEntry> entries;
    if (!ParseResourceFile(bytes, size, entries))
        return false;
    LinkedFiles& linked = Linked();
    for (const ResourceFileEntry& entry : entries)
        linked.table.push_back(LinkedResource{Designation(entry.typeId, entry.typeName),
                                              Designation(entry.nameId, entry.nameText), bytes + entry.offset,
                                              DWORD(entry.size), LANGID(entry.language)});
    SetLinkedResources(LinkedResourceTable{linked.table.data(), linked.table.size()});
    return true;
}

}  // namespace quorvane::kernel32
