#include "user32/resource_data.h"

namespace quorvane::user32 {

bool FindResourceData(HINSTANCE instance, LPCWSTR name, LPCWSTR type, ResourceData& data)
{
    HRSRC resource = FindResourceW(instance, name, type);
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    data.bytes = static_cast<const unsigned char*>(bytes);
    data.size = SizeofResource(instance, resource);
    return true;
}

}  // namespace quorvane::user32
