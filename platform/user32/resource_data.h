// The bytes of a module's resource, found as FindResourceW finds it, for the loaders of
// strings, menus, accelerators, icons and dialog templates.
#pragma once

#include <windows.h>

#include <cstddef>

#include "kernel32/resource_reader.h"

namespace quorvane::user32 {

struct ResourceData {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;

    kernel32::ResourceReader Reader() const { return kernel32::ResourceReader(bytes, size); }
};

// False (with the last error FindResourceW left) when the module has no such resource.
bool FindResourceData(HINSTANCE instance, LPCWSTR name, LPCWSTR type, ResourceData& data);

}  // namespace quorvane::user32
