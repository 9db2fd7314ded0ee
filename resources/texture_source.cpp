// An image file's bytes decoded straight from the mapped view, with no copy.
#include "resources/texture_source.h"

#include "resources/file_bytes.h"

#include <d3dx9.h>

BOOL LoadTextureSource(IDirect3DTexture9** source, IDirect3DDevice9* device, const RefPtr<CFileReaderBase4>& reader,
                       LPCWSTR fileName)
{
    if (source == nullptr)
        return FALSE;
    *source = nullptr;
    FileBytes bytes;
    if (!bytes.Open(reader, fileName))
        return FALSE;
    HRESULT hr =
        D3DXCreateTextureFromFileInMemoryEx(device, bytes.Data(), bytes.Size(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, source);
    if (FAILED(hr)) {
        *source = nullptr;
        return FALSE;
    }
    return TRUE;
}
