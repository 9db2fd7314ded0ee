// The viewer's data files as the build makes them (Data/mdl), loaded as the program loads them,
// for the tests and benchmarks that draw what the viewer draws.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::tests {

// The bytes of Data/mdl/`name` (empty when the file is missing: build the quorvane_data target).
std::vector<std::uint8_t> ReadDataFile(const std::string& name);

// The sphere as the program prepares it: loaded into system memory, cloned to the 0x112 layout
// if it has another, reordered for the vertex cache. The materials and their count are handed
// out as D3DXLoadMeshFromXInMemory hands them out (either may be null). Null on failure.
ID3DXMesh* LoadProgramMesh(IDirect3DDevice9* device, const std::vector<std::uint8_t>& file, ID3DXBuffer** materials,
                           DWORD* materialCount);

// The Earth texture as the program makes it: decoded into a system-memory texture (handed out in
// `*source`, which the caller releases), whose level 0 is copied into the default-pool texture
// of one level returned. Null on failure.
IDirect3DTexture9* LoadProgramTexture(IDirect3DDevice9* device, const std::vector<std::uint8_t>& file,
                                      IDirect3DTexture9** source);

// A default-pool copy of level 0 of a system-memory texture, made with UpdateSurface (null on
// failure; `source` is kept).
IDirect3DTexture9* CopyToDefaultPool(IDirect3DDevice9* device, IDirect3DTexture9* source);

}  // namespace quorvane::tests
