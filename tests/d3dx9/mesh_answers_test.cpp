// Every answer of the D3DX mesh calls the program makes (load, clone, normals, optimise, with
// their buffers, adjacency, materials and remaps) hashed per input and compared with the hashes
// in mesh_answers.txt, which the straightforward implementation gave: a faster path must not
// change one byte. Inputs: the program's sphere.x, generated spheres, the kept fuzz inputs (but
// frame-overflow-*, whose frames move points beyond the range of floats: they are refused now).
// QUORVANE_WRITE_MESH_ANSWERS=<file> writes the table instead (the meshoptimizer version in use
// is part of the answers).
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "device_test.h"
#include "program_data.h"
#include "sphere_x_writer.h"
#include "uv_sphere.h"

namespace quorvane::tests {
namespace {

namespace fs = std::filesystem;

// FNV-1a over everything fed to it.
class AnswerHash {
public:
    void Add(const void* data, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            hash_ = (hash_ ^ static_cast<const std::uint8_t*>(data)[i]) * 0x100000001b3ull;
        }
    }
    template <typename T>
    void Add(const T& value)
    {
        Add(&value, sizeof value);
    }
    void Add(ID3DXBuffer* buffer)
    {
        Add(buffer != nullptr ? buffer->GetBufferSize() : DWORD{0xFFFFFFFF});
        if (buffer != nullptr) {
            Add(buffer->GetBufferPointer(), buffer->GetBufferSize());
        }
    }
    void AddMesh(ID3DXMesh* mesh)
    {
        Add(mesh->GetFVF()), Add(mesh->GetOptions()), Add(mesh->GetNumVertices()), Add(mesh->GetNumFaces());
        void* data = nullptr;
        if (SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data))) {
            Add(data, std::size_t{mesh->GetNumVertices()} * mesh->GetNumBytesPerVertex());
            mesh->UnlockVertexBuffer();
        }
        if (SUCCEEDED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &data))) {
            Add(data, std::size_t{mesh->GetNumFaces()} * 3 * (mesh->GetOptions() & D3DXMESH_32BIT ? 4 : 2));
            mesh->UnlockIndexBuffer();
        }
        DWORD* attributes = nullptr;
        if (SUCCEEDED(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes))) {
            Add(attributes, std::size_t{mesh->GetNumFaces()} * sizeof(DWORD));
            mesh->UnlockAttributeBuffer();
        }
        DWORD tableSize = 0;
        mesh->GetAttributeTable(nullptr, &tableSize);
        std::vector<D3DXATTRIBUTERANGE> table(tableSize);
        mesh->GetAttributeTable(table.data(), &tableSize);
        Add(table.data(), table.size() * sizeof(D3DXATTRIBUTERANGE));
    }
    void AddMaterials(ID3DXBuffer* buffer, DWORD count)
    {
        Add(count);
        for (DWORD i = 0; buffer != nullptr && i < count; ++i) {
            const D3DXMATERIAL& material = static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer())[i];
            Add(material.MatD3D);
            const std::string name = material.pTextureFilename ? material.pTextureFilename : "(none)";
            Add(name.data(), name.size());
        }
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

template <typename T>
struct Released {
    T* object = nullptr;
    ~Released()
    {
        if (object != nullptr) {
            object->Release();
        }
    }
};

class MeshAnswersTest : public DeviceTest {
protected:
    // Optimize as the program calls it and with every output asked for, on `mesh`.
    void HashOptimize(ID3DXMesh* mesh, DWORD flags, const DWORD* adjacency, AnswerHash& hash)
    {
        std::vector<DWORD> adjacencyOut(std::size_t{mesh->GetNumFaces()} * 3);
        std::vector<DWORD> faceRemap(mesh->GetNumFaces());
        Released<ID3DXBuffer> vertexRemap;
        Released<ID3DXMesh> optimized;
        hash.Add(mesh->Optimize(flags, adjacency, adjacencyOut.data(), faceRemap.data(), &vertexRemap.object,
                                &optimized.object));
        if (optimized.object != nullptr) {
            hash.AddMesh(optimized.object);
            hash.Add(adjacencyOut.data(), adjacencyOut.size() * sizeof(DWORD));
            hash.Add(faceRemap.data(), faceRemap.size() * sizeof(DWORD));
            hash.Add(vertexRemap.object);
        }
    }

    // Load, clone to the program's 0x112 (normals computed when the file has none), optimise it
    // for the vertex cache and by attribute; then the same after the loaded mesh's indices and
    // attributes were changed through their locks.
    std::uint64_t Answers(const std::vector<std::uint8_t>& bytes)
    {
        AnswerHash hash;
        Released<ID3DXMesh> loaded;
        Released<ID3DXBuffer> adjacency;
        Released<ID3DXBuffer> materials;
        DWORD materialCount = 0;
        hash.Add(D3DXLoadMeshFromXInMemory(bytes.data(), DWORD(bytes.size()), D3DXMESH_SYSTEMMEM, device(),
                                           &adjacency.object, &materials.object, nullptr, &materialCount,
                                           &loaded.object));
        if (loaded.object == nullptr) {
            return hash.value();
        }
        hash.AddMesh(loaded.object);
        hash.Add(adjacency.object);
        hash.AddMaterials(materials.object, materialCount);
        const auto* adjacencyIn = static_cast<const DWORD*>(adjacency.object->GetBufferPointer());
        Released<ID3DXMesh> clone;
        hash.Add(loaded.object->CloneMeshFVF(D3DXMESH_SYSTEMMEM, 0x112, device(), &clone.object));
        if (clone.object != nullptr) {
            if (!(loaded.object->GetFVF() & D3DFVF_NORMAL)) {
                hash.Add(D3DXComputeNormals(clone.object, nullptr));
            }
            hash.AddMesh(clone.object);
            HashOptimize(clone.object, D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, adjacencyIn, hash);
        }
        HashOptimize(loaded.object, D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, adjacencyIn, hash);
        HashOptimize(loaded.object, D3DXMESHOPT_ATTRSORT | D3DXMESH_SYSTEMMEM, nullptr, hash);
        ChangeFirstFaces(loaded.object);
        HashOptimize(loaded.object, D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, nullptr, hash);
        return hash.value();
    }

    // The first face's corners swapped with those of the middle face and, with two materials or
    // more, the second face moved to the last material.
    static void ChangeFirstFaces(ID3DXMesh* mesh)
    {
        void* data = nullptr;
        const std::size_t middle = mesh->GetNumFaces() / 2 * 3;
        if (SUCCEEDED(mesh->LockIndexBuffer(0, &data))) {
            if (mesh->GetOptions() & D3DXMESH_32BIT) {
                auto* indices = static_cast<std::uint32_t*>(data);
                std::swap_ranges(indices, indices + 3, indices + middle);
            } else {
                auto* indices = static_cast<std::uint16_t*>(data);
                std::swap_ranges(indices, indices + 3, indices + middle);
            }
            mesh->UnlockIndexBuffer();
        }
        DWORD* attributes = nullptr;
        if (mesh->GetNumFaces() > 1 && SUCCEEDED(mesh->LockAttributeBuffer(0, &attributes))) {
            attributes[1] = *std::max_element(attributes, attributes + mesh->GetNumFaces());
            attributes[0] = attributes[1] > 0 ? 0 : attributes[0];
            mesh->UnlockAttributeBuffer();
        }
    }
};

std::vector<std::uint8_t> Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Name -> bytes of every input.
std::map<std::string, std::vector<std::uint8_t>> Inputs()
{
    std::map<std::string, std::vector<std::uint8_t>> inputs;
    inputs["sphere.x"] = ReadDataFile("sphere.x");
    for (const auto& [slices, stacks] : {std::pair{3, 2}, {8, 5}, {64, 32}, {300, 240}}) {
        const std::string text =
            data::WriteSphereX(data::MakeUvSphere(slices, stacks), "earth.jpg", "generated for the answer hashes");
        inputs["sphere " + std::to_string(slices) + "x" + std::to_string(stacks)].assign(text.begin(), text.end());
    }
    // Two meshes: the faces of the first alone are not those of the merged mesh.
    const auto& large = inputs["sphere 300x240"];
    auto& twice = inputs["two spheres 300x240"];
    twice = large;
    const char mesh[] = "Mesh ";
    twice.insert(twice.end(), std::search(large.begin(), large.end(), mesh, mesh + 5), large.end());
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QUORVANE_FUZZ_REGRESSIONS) / "xfile")) {
        inputs["xfile/" + entry.path().filename().string()] = Read(entry.path());
    }
    return inputs;
}

TEST_F(MeshAnswersTest, EveryAnswerIsTheOneTheStraightforwardPathGave)
{
    std::map<std::string, std::string> expected;
    std::ifstream table(QUORVANE_MESH_ANSWERS);
    for (std::string name, hash; std::getline(table, name, '\t') && std::getline(table, hash);) {
        expected[name] = hash;
    }
    const char* writeTo = std::getenv("QUORVANE_WRITE_MESH_ANSWERS");
    std::ofstream written(writeTo != nullptr ? writeTo : "/dev/null");
    int compared = 0;
    for (const auto& [name, bytes] : Inputs()) {
        ASSERT_FALSE(bytes.empty()) << name << " (build quorvane_data)";
        std::ostringstream hash;
        hash << std::hex << Answers(bytes);
        written << name << '\t' << hash.str() << '\n';
        if (const auto found = expected.find(name); found != expected.end() && writeTo == nullptr) {
            EXPECT_EQ(hash.str(), found->second) << name;
            ++compared;
        }
    }
    EXPECT_GE(compared, writeTo != nullptr ? 0 : 170);
}

}  // namespace
}  // namespace quorvane::tests
