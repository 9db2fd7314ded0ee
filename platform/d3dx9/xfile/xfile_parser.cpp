// The object level of X files: data objects, their children and references, read through
// the tokenizer. Frames, meshes and materials are kept; everything else is skipped.
#include "d3dx9/xfile/xfile_parser.h"

#include <algorithm>
#include <map>
#include <string>
#include <strings.h>

#include "d3dx9/xfile/xfile_objects.h"

namespace quorvane::xfile {
namespace {

bool IsType(const std::string& type, const char* known)
{
    return strcasecmp(type.c_str(), known) == 0;
}

class XFileParser {
public:
    XFileParser(XTokenizer& tokens, const FacesExpected& facesExpected) : tokens_(tokens), facesExpected_(facesExpected)
    {
    }

    XFileError Parse(std::vector<FileMesh>& meshes)
    {
        const bool parsed = ParseTopLevel();
        if (!parsed) {
            return error_ != XFileError::none            ? error_
                   : tokens_.error() != XFileError::none ? tokens_.error()
                                                         : XFileError::syntax;
        }
        meshes = std::move(meshes_);
        return XFileError::none;
    }

private:
    bool Fail(XFileError error)
    {
        if (error_ == XFileError::none && tokens_.error() == XFileError::none) {
            error_ = error;
        }
        return false;
    }

    bool ParseTopLevel()
    {
        for (;;) {
            switch (tokens_.Peek()) {
            case XTokenKind::end: return true;
            case XTokenKind::templateKeyword:
                if (!SkipTemplate()) {
                    return false;
                }
                break;
            case XTokenKind::name: {
                std::string type;
                std::string name;
                if (!ReadObjectHeader(type, name) || !ParseObjectBody(1, type, name, nullptr)) {
                    return false;
                }
                break;
            }
            case XTokenKind::openBrace: {
                std::string ignored;
                if (!ReadReference(ignored)) {
                    return false;
                }
                break;
            }
            default: return Fail(XFileError::syntax);
            }
        }
    }

    bool SkipTemplate()
    {
        std::string keyword;
        std::string name;
        return tokens_.ReadName(keyword) && tokens_.ReadName(name) && tokens_.ReadOpenBrace() &&
               tokens_.SkipToMatchingClose();
    }

    // "Type [name] [<guid>] {": the type and the name (empty when absent).
    bool ReadObjectHeader(std::string& type, std::string& name)
    {
        name.clear();
        if (!tokens_.ReadName(type)) {
            return false;
        }
        if (tokens_.Peek() == XTokenKind::name && !tokens_.ReadName(name)) {
            return false;
        }
        if (tokens_.Peek() == XTokenKind::guid && !tokens_.ReadGuid()) {
            return false;
        }
        return tokens_.ReadOpenBrace();
    }

    // "{ [name] [<guid>] }"
    bool ReadReference(std::string& name)
    {
        name.clear();
        if (!tokens_.ReadOpenBrace()) {
            return false;
        }
        if (tokens_.Peek() == XTokenKind::name && !tokens_.ReadName(name)) {
            return false;
        }
        if (tokens_.Peek() == XTokenKind::guid && !tokens_.ReadGuid()) {
            return false;
        }
        return tokens_.ReadCloseBrace();
    }

    // The body of a data object whose header has been read, down to its closing brace.
    // `material` receives a Material's contents (the caller is a material list); named
    // materials are also remembered for references.
    bool ParseObjectBody(int depth, const std::string& type, const std::string& name, XMaterial* material)
    {
        if (IsType(type, "Frame")) {
            return ParseFrame(depth);
        }
        if (IsType(type, "Mesh")) {
            return ParseMesh(depth);
        }
        if (IsType(type, "Material")) {
            XMaterial parsed;
            if (!ParseMaterial(depth, parsed)) {
                return false;
            }
            if (!name.empty()) {
                namedMaterials_[name] = parsed;
            }
            if (material != nullptr) {
                *material = std::move(parsed);
            }
            return true;
        }
        return tokens_.SkipToMatchingClose();
    }

    // Children of an object at `depth` up to its closing brace. A child object's header is
    // read here and `child(type, name)` parses its body; references go to `reference(name)`.
    template <typename ChildHandler, typename ReferenceHandler>
    bool ParseChildren(int depth, ChildHandler child, ReferenceHandler reference)
    {
        for (;;) {
            switch (tokens_.Peek()) {
            case XTokenKind::closeBrace: return tokens_.ReadCloseBrace();
            case XTokenKind::name: {
                if (depth + 1 > maxObjectDepth) {
                    return Fail(XFileError::tooDeep);
                }
                std::string type;
                std::string name;
                if (!ReadObjectHeader(type, name) || !child(type, name)) {
                    return false;
                }
                break;
            }
            case XTokenKind::openBrace: {
                std::string name;
                if (!ReadReference(name) || !reference(name)) {
                    return false;
                }
                break;
            }
            case XTokenKind::end: return Fail(XFileError::truncated);
            default: return Fail(XFileError::syntax);
            }
        }
    }

    template <typename ChildHandler>
    bool ParseChildren(int depth, ChildHandler child)
    {
        return ParseChildren(depth, child, [](const std::string&) { return true; });
    }

    // Data objects the reader does not use, below a known one.
    bool SkipChildren(int depth)
    {
        return ParseChildren(depth,
                             [&](const std::string&, const std::string&) { return tokens_.SkipToMatchingClose(); });
    }

    // Meshes found inside the frame (its own and its descendants') are appended to meshes_
    // in one run; once the frame is closed its transform is applied to that run, after the
    // transforms of the frames below it.
    bool ParseFrame(int depth)
    {
        const std::size_t firstMesh = meshes_.size();
        Matrix4 local = identityMatrix;
        const auto child = [&](const std::string& type, const std::string& name) -> bool {
            if (IsType(type, "FrameTransformMatrix")) {
                return tokens_.ReadFloats(local.data(), 16) && SkipChildren(depth + 1);
            }
            return ParseObjectBody(depth + 1, type, name, nullptr);
        };
        if (!ParseChildren(depth, child)) {
            return false;
        }
        for (std::size_t i = firstMesh; i < meshes_.size(); ++i) {
            meshes_[i].world = Multiply(meshes_[i].world, local);
        }
        return true;
    }

    bool ParseMesh(int depth)
    {
        FileMesh mesh;
        std::uint32_t positionCount = 0;
        if (!ReadCount(positionCount, 3)) {
            return false;
        }
        mesh.positions.resize(std::size_t{positionCount} * 3);
        if (!tokens_.ReadFloats(mesh.positions.data(), mesh.positions.size())) {
            return false;
        }
        tokens_.Peek();  // to the face count
        mesh.faceListBegin = tokens_.Offset();
        if (!ReadFaces(positionCount, mesh.faceStarts, mesh.corners)) {
            return false;
        }
        mesh.faceListEnd = tokens_.Offset();
        TellFacesExpected(mesh);
        const auto child = [&](const std::string& type, const std::string& name) -> bool {
            if (IsType(type, "MeshNormals")) {
                return ParseNormals(depth + 1, mesh);
            }
            if (IsType(type, "MeshTextureCoords")) {
                return ParseTextureCoordinates(depth + 1, mesh);
            }
            if (IsType(type, "MeshMaterialList")) {
                return ParseMaterialList(depth + 1, mesh);
            }
            return ParseObjectBody(depth + 1, type, name, nullptr);
        };
        if (!ParseChildren(depth, child)) {
            return false;
        }
        meshes_.push_back(std::move(mesh));
        return true;
    }

    // Once, for the file's first mesh.
    void TellFacesExpected(const FileMesh& mesh)
    {
        if (facesExpected_ == nullptr || facesTold_ || mesh.corners.empty()) {
            return;
        }
        facesTold_ = true;
        MeshDescription alone;
        const std::size_t triangles = mesh.corners.size() - 2 * mesh.FaceCount();
        alone.indices.reserve(triangles * 3);
        alone.attributes.reserve(triangles);
        AppendFaces(mesh, mesh.corners, 0, 0, alone);
        facesExpected_(std::move(alone.indices), std::move(alone.attributes), mesh.PositionCount());
    }

    bool ParseNormals(int depth, FileMesh& mesh)
    {
        std::uint32_t normalCount = 0;
        if (!ReadCount(normalCount, 3)) {
            return false;
        }
        mesh.normals.resize(std::size_t{normalCount} * 3);
        if (!tokens_.ReadFloats(mesh.normals.data(), mesh.normals.size())) {
            return false;
        }
        // Exporters most often write the mesh's face list again, one normal per position.
        const bool sameIndicesFit =
            mesh.corners.empty() || *std::max_element(mesh.corners.begin(), mesh.corners.end()) < normalCount;
        if (sameIndicesFit && tokens_.SkipRepeatOf(mesh.faceListBegin, mesh.faceListEnd)) {
            mesh.normalCorners = mesh.corners;
        } else {
            std::vector<std::uint32_t> faceStarts;
            if (!ReadFaces(normalCount, faceStarts, mesh.normalCorners)) {
                return false;
            }
            if (faceStarts != mesh.faceStarts) {
                return Fail(XFileError::badData);  // normal faces must match the mesh's faces corner for corner
            }
        }
        mesh.hasNormals = true;
        return SkipChildren(depth);
    }

    bool ParseTextureCoordinates(int depth, FileMesh& mesh)
    {
        std::uint32_t count = 0;
        if (!ReadCount(count, 2)) {
            return false;
        }
        if (count != mesh.PositionCount()) {
            return Fail(XFileError::badData);
        }
        mesh.textureCoordinates.resize(std::size_t{count} * 2);
        if (!tokens_.ReadFloats(mesh.textureCoordinates.data(), mesh.textureCoordinates.size())) {
            return false;
        }
        mesh.hasTextureCoordinates = true;
        return SkipChildren(depth);
    }

    bool ParseMaterialList(int depth, FileMesh& mesh)
    {
        std::uint32_t materialCount = 0;
        std::uint32_t faceIndexCount = 0;
        // A material takes 11 values at least; each listed face one.
        if (!ReadCount(materialCount, 11) || !ReadCount(faceIndexCount, 1)) {
            return false;
        }
        const std::size_t faceCount = mesh.FaceCount();
        if (faceIndexCount > faceCount || (faceIndexCount == 0 && faceCount > 0 && materialCount > 0)) {
            return Fail(XFileError::badData);
        }
        mesh.faceMaterials.assign(faceCount, 0);
        if (!tokens_.ReadIndices(mesh.faceMaterials.data(), faceIndexCount, materialCount)) {
            return false;
        }
        // Faces beyond the listed ones take the last listed material.
        for (std::size_t i = faceIndexCount; i < faceCount && faceIndexCount > 0; ++i) {
            mesh.faceMaterials[i] = mesh.faceMaterials[faceIndexCount - 1];
        }

        const auto child = [&](const std::string& type, const std::string& name) -> bool {
            if (!IsType(type, "Material")) {
                return ParseObjectBody(depth + 1, type, name, nullptr);
            }
            if (mesh.materials.size() >= materialCount) {
                return Fail(XFileError::badData);
            }
            mesh.materials.emplace_back();
            return ParseObjectBody(depth + 1, type, name, &mesh.materials.back());
        };
        const auto reference = [&](const std::string& referenced) -> bool {
            const auto found = namedMaterials_.find(referenced);
            if (found == namedMaterials_.end() || mesh.materials.size() >= materialCount) {
                return Fail(XFileError::badData);
            }
            mesh.materials.push_back(found->second);
            return true;
        };
        if (!ParseChildren(depth, child, reference)) {
            return false;
        }
        if (mesh.materials.size() != materialCount) {
            return Fail(XFileError::badData);
        }
        mesh.hasMaterialList = materialCount > 0;
        return true;
    }

    bool ParseMaterial(int depth, XMaterial& material)
    {
        if (!tokens_.ReadFloats(material.faceColor, 4) || !tokens_.ReadFloats(&material.power, 1) ||
            !tokens_.ReadFloats(material.specular, 3) || !tokens_.ReadFloats(material.emissive, 3)) {
            return false;
        }
        const auto child = [&](const std::string& type, const std::string& name) -> bool {
            if (IsType(type, "TextureFilename")) {
                return tokens_.ReadString(material.textureFilename) && SkipChildren(depth + 1);
            }
            return ParseObjectBody(depth + 1, type, name, nullptr);
        };
        return ParseChildren(depth, child);
    }

    // A declared element count, each element taking `valuesPerElement` values; a count the
    // remaining bytes cannot hold is refused before anything is sized by it.
    bool ReadCount(std::uint32_t& count, std::size_t valuesPerElement)
    {
        if (!tokens_.ReadDword(count)) {
            return false;
        }
        if (std::uint64_t{count} * valuesPerElement > tokens_.MaxRemainingValues()) {
            return Fail(XFileError::badData);
        }
        return true;
    }

    // "nFaces; n; i0, i1, ...; ..." with every index below `indexLimit` and at least 3 per face.
    bool ReadFaces(std::uint32_t indexLimit, std::vector<std::uint32_t>& faceStarts,
                   std::vector<std::uint32_t>& corners)
    {
        std::uint32_t faceCount = 0;
        return ReadCount(faceCount, 4) && tokens_.ReadFaces(faceCount, indexLimit, faceStarts, corners);
    }

    XTokenizer& tokens_;
    const FacesExpected& facesExpected_;
    bool facesTold_ = false;
    XFileError error_ = XFileError::none;
    std::vector<FileMesh> meshes_;
    std::map<std::string, XMaterial> namedMaterials_;
};

}  // namespace

XFileError ParseXFile(const std::uint8_t* bytes, std::size_t size, MeshDescription& mesh,
                      const FacesExpected& facesExpected)
{
    mesh = MeshDescription{};
    XFileError error = XFileError::none;
    std::unique_ptr<XTokenizer> tokens = OpenXFile(bytes, size, error);
    if (!tokens) {
        return error;
    }
    std::vector<FileMesh> meshes;
    error = XFileParser(*tokens, facesExpected).Parse(meshes);
    if (error != XFileError::none) {
        return error;
    }
    return MergeMeshes(std::move(meshes), mesh);
}

}  // namespace quorvane::xfile
