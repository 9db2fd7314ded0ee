// LoadStringW: string tables are blocks of sixteen counted UTF-16 strings; string n lives in
// block n / 16 + 1 at index n % 16.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "user32/resource_data.h"

namespace {

using namespace quorvane;

bool FindString(HINSTANCE instance, UINT id, std::wstring& text)
{
    user32::ResourceData block;
    if (!user32::FindResourceData(instance, MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING, block))
        return false;
    kernel32::ResourceReader reader = block.Reader();
    for (UINT index = 0; index <= (id & 15); ++index) {
        std::uint16_t length = 0;
        if (!reader.Word(length))
            return false;
        if (index == (id & 15))
            return length > 0 && reader.CountedText(length, text);
        if (!reader.Skip(std::size_t{length} * 2))
            return false;
    }
    return false;
}

// With a buffer size of 0 Windows hands out a pointer to the string in the resource itself.
// Resource text is UTF-16 and WCHAR is not, so the pointer is to a decoded copy kept for the
// life of the process (callers go by the count returned, as on Windows, where the string in the
// resource is not zero-terminated).
LPCWSTR KeptCopy(const std::wstring& text)
{
    static auto* kept = new std::set<std::wstring>;  // nodes keep their addresses; never destroyed
    return kept->insert(text).first->c_str();
}

}  // namespace

extern "C" int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax)
{
    if (!buffer || bufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring text;
    bool found = FindString(instance, id, text);
    if (bufferMax == 0) {
        if (!found)
            return 0;
        *reinterpret_cast<LPCWSTR*>(buffer) = KeptCopy(text);
        return int(text.size());
    }
    if (!found) {
        buffer[0] = L'\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    std::size_t copied = std::min(text.size(), std::size_t(bufferMax - 1));
    std::copy_n(text.begin(), copied, buffer);
    buffer[copied] = L'\0';
    return int(copied);
}
