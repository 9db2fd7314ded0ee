// The viewer's data files as the build makes them (Data/mdl), for the tests and benchmarks that
// draw what the viewer draws: their bytes, a reader over them as the viewer reads them, and the
// sphere and the Earth texture loaded by the program's own code.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/reference_count.h"
#include "resources/file_reader.h"
#include "resources/mesh.h"

namespace quorvane::tests {

// The bytes of Data/mdl/`name` (empty when the file is missing: build the quorvane_data target).
std::vector<std::uint8_t> ReadDataFile(const std::string& name);

// A directory reader over the build's Data folder, as the viewer reads its own.
RefPtr<CFileReaderBase4> DataReader();

// The sphere "mdl\sphere.x" as Mesh::Load prepares it (system memory, the 0x112 layout, ordered
// for the vertex cache, ambient taken from diffuse), outside any registry and without textures.
// Null on failure.
std::unique_ptr<Mesh> LoadProgramMesh(IDirect3DDevice9* device);

// The Earth texture as the program makes it: decoded by LoadTextureSource into a system-memory
// texture (handed out in `*source`, which the caller releases), whose level 0 is copied into the
// default-pool texture of one level returned. Null on failure.
IDirect3DTexture9* LoadProgramTexture(IDirect3DDevice9* device, IDirect3DTexture9** source);

// A default-pool copy of level 0 of a system-memory texture, made with UpdateSurface as
// Texture::Restore makes it (null on failure; `source` is kept).
IDirect3DTexture9* CopyToDefaultPool(IDirect3DDevice9* device, IDirect3DTexture9* source);

}  // namespace quorvane::tests
