#include "sphere_x_writer.h"

#include <cmath>
#include <cstdio>

namespace quorvane::data {
namespace {

// Six decimals: a millionth of the radius, far below a pixel at any zoom the viewer allows.
void AppendFloats(std::string& out, const float* values, int count)
{
    char buffer[32];
    for (int i = 0; i < count; ++i) {
        // Values that print as zero are written as 0, never as -0.
        const double value = std::fabs(values[i]) < 5e-7f ? 0.0 : static_cast<double>(values[i]);
        std::snprintf(buffer, sizeof buffer, "%.6f;", value);
        out += buffer;
    }
}

// "n;i0,i1,...;" per face, faces separated by "," and the list closed by ";".
void AppendFaces(std::string& out, const UvSphere& sphere)
{
    out += std::to_string(sphere.faces.size()) + ";\n";
    for (std::size_t f = 0; f < sphere.faces.size(); ++f) {
        const auto& face = sphere.faces[f];
        out += std::to_string(face.size()) + ";";
        for (std::size_t i = 0; i < face.size(); ++i) {
            out += std::to_string(face[i]) + (i + 1 < face.size() ? "," : ";");
        }
        out += f + 1 < sphere.faces.size() ? ",\n" : ";\n";
    }
}

// Vertex rows "x;y;z;," with the list closed by ";".
template <typename Field>
void AppendVertexRows(std::string& out, const UvSphere& sphere, Field field, int count)
{
    out += std::to_string(sphere.vertices.size()) + ";\n";
    for (std::size_t v = 0; v < sphere.vertices.size(); ++v) {
        AppendFloats(out, field(sphere.vertices[v]), count);
        out += v + 1 < sphere.vertices.size() ? ",\n" : ";\n";
    }
}

}  // namespace

std::string WriteSphereX(const UvSphere& sphere, const std::string& textureFile, const std::string& comment)
{
    std::string out = "xof 0302txt 0032\n";
    out += "// " + comment + "\n\n";
    out += "Material Earth {\n"
           "  1.000000;1.000000;1.000000;1.000000;;\n"
           "  0.000000;\n"
           "  0.000000;0.000000;0.000000;;\n"
           "  0.000000;0.000000;0.000000;;\n"
           "  TextureFilename {\n"
           "    \"" +
           textureFile +
           "\";\n"
           "  }\n"
           "}\n\n";
    out += "Mesh Sphere {\n";
    AppendVertexRows(
        out, sphere, [](const SphereVertex& v) { return v.position.data(); }, 3);
    AppendFaces(out, sphere);
    out += "\nMeshNormals {\n";
    AppendVertexRows(
        out, sphere, [](const SphereVertex& v) { return v.normal.data(); }, 3);
    AppendFaces(out, sphere);  // each vertex has its own normal: the same indices
    out += "}\n\nMeshTextureCoords {\n";
    AppendVertexRows(
        out, sphere, [](const SphereVertex& v) { return v.uv.data(); }, 2);
    out += "}\n\nMeshMaterialList {\n1;\n" + std::to_string(sphere.faces.size()) + ";\n";
    for (std::size_t f = 0; f < sphere.faces.size(); ++f) {
        out += f + 1 < sphere.faces.size() ? "0,\n" : "0;\n";
    }
    out += "{ Earth }\n}\n}\n";
    return out;
}

}  // namespace quorvane::data
