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
#include "graphics/com_reference.h"
#include "program_data.h"
#include "sphere_x_writer.h"
#include "uv_sphere.h"

namespace quorvane::tests {
namespace {

namespace fs = std::filesystem;

// FNV-1a over everything added.
struct AnswerHash {
    std::uint64_t value = 0xcbf29ce484222325ull;

    void Add(const void* data, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            value = (value ^ static_cast<const std::uint8_t*>(data)[i]) * 0x100000001b3ull;
        }
    }
    template <typename T>
    void Add(const T& item)
    {
        Add(&item, sizeof item);
    }
    void Add(ID3DXBuffer* buffer)
    {
        Add(buffer ? buffer->GetBufferSize() : ~DWORD{0});
        Add(buffer ? buffer->GetBufferPointer() : nullptr, buffer ? buffer->GetBufferSize() : 0);
    }
    void Add(ID3DXMesh* mesh)
    {
        const std::size_t faces = mesh->GetNumFaces(), indexSize = mesh->GetOptions() & D3DXMESH_32BIT ? 4 : 2;
        Add(mesh->GetFVF()), Add(mesh->GetOptions()), Add(mesh->GetNumVertices()), Add(mesh->GetNumFaces());
        void* data = nullptr;
        mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
        Add(data, std::size_t{mesh->GetNumVertices()} * mesh->GetNumBytesPerVertex()), mesh->UnlockVertexBuffer();
        mesh->LockIndexBuffer(D3DLOCK_READONLY, &data);
        Add(data, faces * 3 * indexSize), mesh->UnlockIndexBuffer();
        DWORD* attributes = nullptr;
        mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes);
        Add(attributes, faces * sizeof(DWORD)), mesh->UnlockAttributeBuffer();
        std::vector<D3DXATTRIBUTERANGE> table(faces);
        DWORD tableSize = 0;
        mesh->GetAttributeTable(table.data(), &tableSize);
        Add(table.data(), tableSize * sizeof(D3DXATTRIBUTERANGE));
    }
};

class MeshAnswersTest : public DeviceTest {
protected:
    // Optimize with every output asked for.
    static void HashOptimize(ID3DXMesh* mesh, DWORD flags, const DWORD* adjacency, AnswerHash& hash)
    {
        std::vector<DWORD> adjacencyOut(std::size_t{mesh->GetNumFaces()} * 3);
        std::vector<DWORD> faceRemap(mesh->GetNumFaces());
        ComReference<ID3DXBuffer> vertexRemap;
        ComReference<ID3DXMesh> optimized;
        hash.Add(mesh->Optimize(flags, adjacency, adjacencyOut.data(), faceRemap.data(), vertexRemap.Out(),
                                optimized.Out()));
        if (optimized) {
            hash.Add(optimized.Get());
            hash.Add(adjacencyOut.data(), adjacencyOut.size() * sizeof(DWORD));
            hash.Add(faceRemap.data(), faceRemap.size() * sizeof(DWORD));
            hash.Add(vertexRemap.Get());
        }
    }

    // Load; clone to the program's 0x112 (normals computed when the file has none) and optimise
    // it; optimise the loaded mesh for the cache and by attribute, and for the cache again once the
    // first and the middle face have changed places through the index buffer and, with two
    // materials or more, the second face has moved to the last material.
    std::uint64_t Answers(const std::vector<std::uint8_t>& bytes)
    {
        AnswerHash hash;
        ComReference<ID3DXMesh> loaded, clone;
        ComReference<ID3DXBuffer> adjacency, materials;
        DWORD count = 0;
        hash.Add(D3DXLoadMeshFromXInMemory(bytes.data(), DWORD(bytes.size()), D3DXMESH_SYSTEMMEM, device(),
                                           adjacency.Out(), materials.Out(), nullptr, &count, loaded.Out()));
        if (!loaded) {
            return hash.value;
        }
        hash.Add(loaded.Get()), hash.Add(adjacency.Get()), hash.Add(count);
        for (DWORD i = 0; i < count; ++i) {
            const D3DXMATERIAL& material = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer())[i];
            const std::string name = material.pTextureFilename ? material.pTextureFilename : "(none)";
            hash.Add(material.MatD3D), hash.Add(name.data(), name.size());
        }
        const auto* adjacencyIn = static_cast<const DWORD*>(adjacency->GetBufferPointer());
        hash.Add(loaded->CloneMeshFVF(D3DXMESH_SYSTEMMEM, 0x112, device(), clone.Out()));  // fails past 16 bits
        if (clone) {
            if (!(loaded->GetFVF() & D3DFVF_NORMAL)) {
                hash.Add(D3DXComputeNormals(clone.Get(), nullptr));
            }
            hash.Add(clone.Get());
            HashOptimize(clone.Get(), D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, adjacencyIn, hash);
        }
        HashOptimize(loaded.Get(), D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, adjacencyIn, hash);
        HashOptimize(loaded.Get(), D3DXMESHOPT_ATTRSORT | D3DXMESH_SYSTEMMEM, nullptr, hash);
        void* indices = nullptr;
        loaded->LockIndexBuffer(0, &indices);
        const auto swap = [middle = loaded->GetNumFaces() / 2 * 3](auto* first) {
            std::swap_ranges(first, first + 3, first + middle);
        };
        loaded->GetOptions() & D3DXMESH_32BIT ? swap(static_cast<std::uint32_t*>(indices))
                                              : swap(static_cast<std::uint16_t*>(indices));
        loaded->UnlockIndexBuffer();
        DWORD* attributes = nullptr;
        if (loaded->GetNumFaces() > 1 && SUCCEEDED(loaded->LockAttributeBuffer(0, &attributes))) {
            attributes[1] = *std::max_element(attributes, attributes + loaded->GetNumFaces());
            attributes[0] = attributes[1] > 0 ? 0 : attributes[0];
            loaded->UnlockAttributeBuffer();
        }
        HashOptimize(loaded.Get(), D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, nullptr, hash);
        return hash.value;
    }
};

// Name -> bytes of every input.
std::map<std::string, std::vector<std::uint8_t>> Inputs()
{
    std::map<std::string, std::vector<std::uint8_t>> inputs;
    inputs["sphere.x"] = ReadDataFile("sphere.x");
    for (const auto& [slices, stacks] : {std::pair{3, 2}, {8, 5}, {64, 32}, {300, 240}}) {
        const std::string text = data::WriteSphereX(data::MakeUvSphere(slices, stacks), "earth.jpg", "answers");
        inputs["sphere " + std::to_string(slices) + "x" + std::to_string(stacks)].assign(text.begin(), text.end());
    }
    // Two meshes: the faces of the first alone are not those of the merged mesh.
    const std::vector<std::uint8_t>& large = inputs["sphere 300x240"];
    std::vector<std::uint8_t>& twice = inputs["two spheres 300x240"] = large;
    const char mesh[] = "Mesh ";
    twice.insert(twice.end(), std::search(large.begin(), large.end(), mesh, mesh + 5), large.end());
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QUORVANE_FUZZ_REGRESSIONS) / "xfile")) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs["xfile/" + entry.path().filename().string()].assign(std::istreambuf_iterator<char>(in), {});
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
    for (const auto& [name, bytes] : Inputs()) {
        ASSERT_FALSE(bytes.empty()) << name << " (build quorvane_data)";
        std::ostringstream hash;
        hash << std::hex << Answers(bytes);
        written << name << '\t' << hash.str() << '\n';
        EXPECT_TRUE(writeTo != nullptr || !expected.contains(name) || expected[name] == hash.str()) << name;
        expected.erase(name);
    }
    EXPECT_TRUE(writeTo != nullptr || expected.empty()) << "inputs missing, " << expected.size() << " of them";
}

}  // namespace
}  // namespace quorvane::tests
