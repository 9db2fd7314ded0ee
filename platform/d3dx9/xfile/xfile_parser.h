// Parses a DirectX X file (text or binary) into one merged triangle mesh.
//
// Understood: Frame with FrameTransformMatrix (meshes inside frames are transformed by the
// frame chain), Mesh (polygons triangulated as fans), MeshNormals, MeshTextureCoords,
// MeshMaterialList with inline or referenced Material, TextureFilename. Templates and unknown
// objects are skipped. Malformed input gives an error; nothing is allocated beyond what the
// size of the input can hold.
#pragma once

#include <functional>

#include "d3dx9/mesh/mesh_description.h"
#include "d3dx9/xfile/xfile_tokenizer.h"

namespace quorvane::xfile {

// Objects nested deeper than this are refused.
constexpr int maxObjectDepth = 64;

// Told the triangles (indices and material per triangle) and the vertex count the merged mesh
// will have if the first Mesh object turns out to be the file's only one, with one normal per
// position and one material: as soon as that mesh's faces are read, before its normals, texture
// coordinates and materials.
using FacesExpected = std::function<void(std::vector<std::uint32_t> indices, std::vector<std::uint32_t> attributes,
                                         std::size_t vertexCount)>;

XFileError ParseXFile(const std::uint8_t* bytes, std::size_t size, MeshDescription& mesh,
                      const FacesExpected& facesExpected = nullptr);

}  // namespace quorvane::xfile
