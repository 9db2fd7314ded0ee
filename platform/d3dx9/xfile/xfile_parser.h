// Parses a DirectX X file (text or binary) into one merged triangle mesh.
//
// Understood: Frame with FrameTransformMatrix (meshes inside frames are transformed by the
// frame chain), Mesh (polygons triangulated as fans), MeshNormals, MeshTextureCoords,
// MeshMaterialList with inline or referenced Material, TextureFilename. Templates and unknown
// objects are skipped. Malformed input gives an error; nothing is allocated beyond what the
// size of the input can hold.
#pragma once

#include "d3dx9/mesh/mesh_description.h"
#include "d3dx9/xfile/xfile_tokenizer.h"

namespace quorvane::xfile {

// Objects nested deeper than this are refused.
constexpr int maxObjectDepth = 64;

XFileError ParseXFile(const std::uint8_t* bytes, std::size_t size, MeshDescription& mesh);

}  // namespace quorvane::xfile
