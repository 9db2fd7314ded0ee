// Decoding an image file into a system-memory texture.
#pragma once

#include "graphics/reference_count.h"
#include "resources/file_reader.h"

#include <d3d9.h>
#include <windows.h>

// Reads fileName through reader (or, without a reader, maps the name itself) and decodes it
// with D3DX into a D3DPOOL_SYSTEMMEM texture at the image's own size and format, stored in
// *source with one reference for the caller. FALSE, with *source null, for a file that cannot
// be had, an empty one, or bytes that are not an image D3DX decodes.
BOOL LoadTextureSource(IDirect3DTexture9** source, IDirect3DDevice9* device, const RefPtr<CFileReaderBase4>& reader,
                       LPCWSTR fileName);
