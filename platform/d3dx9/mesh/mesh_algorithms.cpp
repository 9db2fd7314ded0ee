#include "d3dx9/mesh/mesh_algorithms.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace quorvane::meshops {
namespace {

struct Vec3 {
    float x, y, z;
};
Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float Length(Vec3 a)
{
    return std::sqrt(Dot(a, a));
}

Vec3 LoadVec3(const std::uint8_t* p)
{
    Vec3 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

float AngleBetween(Vec3 a, Vec3 b)
{
    const float lengths = Length(a) * Length(b);
    if (!(lengths > 0)) {
        return 0;
    }
    return std::acos(std::clamp(Dot(a, b) / lengths, -1.0f, 1.0f));
}

// The group each vertex accumulates its normal in: itself, or the first vertex at its position.
std::vector<std::uint32_t> NormalGroups(const std::uint8_t* vertices, std::size_t vertexCount, std::size_t stride,
                                        bool mergeEqualPositions)
{
    std::vector<std::uint32_t> groups(vertexCount);
    std::iota(groups.begin(), groups.end(), 0u);
    if (!mergeEqualPositions) {
        return groups;
    }
    struct Key {
        std::uint32_t bits[3];
        bool operator==(const Key& other) const { return std::memcmp(bits, other.bits, sizeof bits) == 0; }
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const
        {
            return (std::size_t{k.bits[0]} * 73856093u) ^ (std::size_t{k.bits[1]} * 19349663u) ^
                   (std::size_t{k.bits[2]} * 83492791u);
        }
    };
    std::unordered_map<Key, std::uint32_t, KeyHash> first;
    first.reserve(vertexCount);
    for (std::size_t v = 0; v < vertexCount; ++v) {
        Vec3 p = LoadVec3(vertices + v * stride);
        p.x += 0.0f, p.y += 0.0f, p.z += 0.0f;  // -0 and +0 are one position
        Key key;
        std::memcpy(key.bits, &p, sizeof key.bits);
        groups[v] = first.try_emplace(key, static_cast<std::uint32_t>(v)).first->second;
    }
    return groups;
}

}  // namespace

std::vector<std::uint32_t> ComputeAdjacency(const std::uint32_t* indices, std::size_t faceCount,
                                            const std::uint32_t* pointIds)
{
    std::vector<std::uint32_t> adjacency(faceCount * 3, noNeighbour);
    const auto point = [&](std::uint32_t vertex) { return pointIds ? pointIds[vertex] : vertex; };
    // Directed edge (a, b) of a face -> that face and edge slot, waiting for its partner (b, a)
    // or, for inconsistently wound neighbours, (a, b).
    std::unordered_map<std::uint64_t, std::uint32_t> open;
    open.reserve(faceCount * 3);
    for (std::size_t face = 0; face < faceCount; ++face) {
        for (int edge = 0; edge < 3; ++edge) {
            const std::uint32_t a = point(indices[face * 3 + edge]);
            const std::uint32_t b = point(indices[face * 3 + (edge + 1) % 3]);
            if (a == b) {
                continue;  // degenerate edge
            }
            const std::uint64_t key = std::uint64_t{std::min(a, b)} << 32 | std::max(a, b);
            const auto slot = static_cast<std::uint32_t>(face * 3 + edge);
            const auto [entry, inserted] = open.try_emplace(key, slot);
            if (inserted) {
                continue;
            }
            const std::uint32_t partner = entry->second;
            if (partner / 3 != face && adjacency[partner] == noNeighbour) {
                adjacency[partner] = static_cast<std::uint32_t>(face);
                adjacency[slot] = partner / 3;
            }
        }
    }
    return adjacency;
}

void ComputeVertexNormals(std::uint8_t* vertices, std::size_t vertexCount, std::size_t stride, std::size_t normalOffset,
                          const std::uint32_t* indices, std::size_t faceCount, bool mergeEqualPositions)
{
    const std::vector<std::uint32_t> groups = NormalGroups(vertices, vertexCount, stride, mergeEqualPositions);
    std::vector<Vec3> sums(vertexCount, Vec3{0, 0, 0});
    for (std::size_t face = 0; face < faceCount; ++face) {
        const std::uint32_t* corner = indices + face * 3;
        if (corner[0] >= vertexCount || corner[1] >= vertexCount || corner[2] >= vertexCount) {
            continue;
        }
        const Vec3 p[3] = {LoadVec3(vertices + corner[0] * stride), LoadVec3(vertices + corner[1] * stride),
                           LoadVec3(vertices + corner[2] * stride)};
        const Vec3 normal = Cross(p[1] - p[0], p[2] - p[0]);
        const float length = Length(normal);
        if (!(length > 0)) {
            continue;  // degenerate face
        }
        for (int i = 0; i < 3; ++i) {
            const float angle = AngleBetween(p[(i + 1) % 3] - p[i], p[(i + 2) % 3] - p[i]);
            Vec3& sum = sums[groups[corner[i]]];
            sum.x += normal.x / length * angle;
            sum.y += normal.y / length * angle;
            sum.z += normal.z / length * angle;
        }
    }
    for (std::size_t v = 0; v < vertexCount; ++v) {
        Vec3 n = sums[groups[v]];
        const float length = Length(n);
        n = length > 0 ? Vec3{n.x / length, n.y / length, n.z / length} : Vec3{0, 0, 0};
        std::memcpy(vertices + v * stride + normalOffset, &n, sizeof n);
    }
}

std::vector<AttributeRange> ComputeAttributeRanges(const std::uint32_t* indices, const std::uint32_t* attributes,
                                                   std::size_t faceCount)
{
    std::vector<AttributeRange> ranges;
    for (std::size_t face = 0; face < faceCount;) {
        std::size_t end = face;
        std::uint32_t low = UINT32_MAX;
        std::uint32_t high = 0;
        while (end < faceCount && attributes[end] == attributes[face]) {
            for (int i = 0; i < 3; ++i) {
                low = std::min(low, indices[end * 3 + i]);
                high = std::max(high, indices[end * 3 + i]);
            }
            ++end;
        }
        ranges.push_back({attributes[face], static_cast<std::uint32_t>(face), static_cast<std::uint32_t>(end - face),
                          low, high - low + 1});
        face = end;
    }
    return ranges;
}

std::vector<std::uint32_t> SortFacesByAttribute(const std::uint32_t* attributes, std::size_t faceCount)
{
    std::vector<std::uint32_t> faces(faceCount);
    std::iota(faces.begin(), faces.end(), 0u);
    std::stable_sort(faces.begin(), faces.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return attributes[a] < attributes[b]; });
    return faces;
}

void ReorderForVertexCache(const std::uint32_t* indices, const std::uint32_t* attributes,
                           std::vector<std::uint32_t>& faceOrder, std::size_t vertexCount)
{
    std::vector<std::uint32_t> runIndices;
    std::vector<std::uint32_t> reordered;
    for (std::size_t start = 0; start < faceOrder.size();) {
        std::size_t end = start;
        while (end < faceOrder.size() && attributes[faceOrder[end]] == attributes[faceOrder[start]]) {
            ++end;
        }
        runIndices.clear();
        for (std::size_t i = start; i < end; ++i) {
            runIndices.insert(runIndices.end(), indices + std::size_t{faceOrder[i]} * 3,
                              indices + std::size_t{faceOrder[i]} * 3 + 3);
        }
        reordered.resize(runIndices.size());
        meshopt_optimizeVertexCache(reordered.data(), runIndices.data(), runIndices.size(), vertexCount);
        // meshoptimizer moves triangles whole, corners in their order: find each one's face.
        std::unordered_multimap<std::uint64_t, std::uint32_t> faceOf;
        faceOf.reserve(end - start);
        const auto key = [](const std::uint32_t* t) {
            return (std::uint64_t{t[0]} * 0x9E3779B97F4A7C15ull) ^ (std::uint64_t{t[1]} << 21) ^ t[2];
        };
        for (std::size_t i = start; i < end; ++i) {
            faceOf.emplace(key(indices + std::size_t{faceOrder[i]} * 3), faceOrder[i]);
        }
        for (std::size_t t = 0; t < end - start; ++t) {
            const std::uint32_t* triangle = &reordered[t * 3];
            auto [first, last] = faceOf.equal_range(key(triangle));
            for (auto it = first; it != last; ++it) {
                if (std::equal(triangle, triangle + 3, indices + std::size_t{it->second} * 3)) {
                    faceOrder[start + t] = it->second;
                    faceOf.erase(it);
                    break;
                }
            }
        }
        start = end;
    }
}

std::uint32_t NumberVerticesByFirstUse(const std::uint32_t* indices, const std::vector<std::uint32_t>& faceOrder,
                                       std::size_t vertexCount, std::vector<std::uint32_t>& oldToNew)
{
    oldToNew.assign(vertexCount, droppedVertex);
    std::uint32_t next = 0;
    for (std::uint32_t face : faceOrder) {
        for (int corner = 0; corner < 3; ++corner) {
            std::uint32_t& slot = oldToNew[indices[std::size_t{face} * 3 + corner]];
            if (slot == droppedVertex) {
                slot = next++;
            }
        }
    }
    return next;
}

}  // namespace quorvane::meshops
