// Writes a UV sphere as a text X file with normals, texture coordinates and one material.
#pragma once

#include <string>

#include "uv_sphere.h"

namespace quorvane::data {

// The whole file: a named Material (white diffuse, naming `textureFile`) and a Mesh with
// MeshNormals, MeshTextureCoords and a MeshMaterialList that refers to the material.
std::string WriteSphereX(const UvSphere& sphere, const std::string& textureFile, const std::string& comment);

}  // namespace quorvane::data
