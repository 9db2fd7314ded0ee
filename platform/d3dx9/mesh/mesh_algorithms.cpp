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

// Open addressing with linear probing in one array of Entry (which tells when it is empty), so
// that tens of thousands of keys cost no allocation each. The table holds at most half as many
// entries as it has places.
template <class Entry>
class FlatTable {
public:
    explicit FlatTable(std::size_t count)
    {
        std::size_t capacity = 16;
        while (capacity < count * 2) {
            capacity *= 2;
        }
        entries_.assign(capacity, Entry{});
    }

    // The first entry along key's probe sequence that matches, or else the empty place there,
    // for the caller to fill.
    template <class Matches>
    Entry& Find(std::uint64_t key, Matches matches)
    {
        const std::size_t mask = entries_.size() - 1;
        for (std::size_t i = (key * 0x9E3779B97F4A7C15ull) >> 32 & mask;; i = (i + 1) & mask) {
            Entry& entry = entries_[i];
            if (entry.Empty() || matches(entry)) {
                return entry;
            }
        }
    }

private:
    std::vector<Entry> entries_;
};

// An edge's two point ids, smaller first, and the first face edge slot that had them. The key
// is never all ones: the smaller id is below the larger.
struct EdgeEntry {
    static constexpr std::uint64_t emptyKey = ~std::uint64_t{0};
    std::uint64_t key = emptyKey;
    std::uint32_t slot = 0;
    bool Empty() const { return key == emptyKey; }
};

// A triangle's corners and its face.
struct TriangleEntry {
    static constexpr std::uint32_t noFace = 0xFFFFFFFF;
    static constexpr std::uint32_t takenFace = 0xFFFFFFFE;
    std::uint32_t corners[3] = {0, 0, 0};
    std::uint32_t face = noFace;

    static TriangleEntry Of(const std::uint32_t* triangle, std::uint32_t face)
    {
        return TriangleEntry{{triangle[0], triangle[1], triangle[2]}, face};
    }
    bool Empty() const { return face == noFace; }
    bool SameCorners(const TriangleEntry& other) const
    {
        return corners[0] == other.corners[0] && corners[1] == other.corners[1] && corners[2] == other.corners[2];
    }
    std::uint64_t Key() const
    {
        return (std::uint64_t{corners[0]} * 0x9E3779B97F4A7C15ull) ^ (std::uint64_t{corners[1]} << 21) ^ corners[2];
    }
};

}  // namespace

std::vector<std::uint32_t> ComputeAdjacency(const std::uint32_t* indices, std::size_t faceCount,
                                            const std::uint32_t* pointIds)
{
    std::vector<std::uint32_t> adjacency(faceCount * 3, noNeighbour);
    const auto point = [&](std::uint32_t vertex) { return pointIds ? pointIds[vertex] : vertex; };
    // Each edge's key finds the first face edge that had it; a later one of another face pairs
    // with it (the partner of (a, b) is (b, a), or (a, b) for inconsistently wound neighbours).
    FlatTable<EdgeEntry> firstEdge(faceCount * 3);
    for (std::size_t face = 0; face < faceCount; ++face) {
        for (int edge = 0; edge < 3; ++edge) {
            const std::uint32_t a = point(indices[face * 3 + edge]);
            const std::uint32_t b = point(indices[face * 3 + (edge + 1) % 3]);
            if (a == b) {
                continue;  // degenerate edge
            }
            const std::uint64_t key = std::uint64_t{std::min(a, b)} << 32 | std::max(a, b);
            const auto slot = static_cast<std::uint32_t>(face * 3 + edge);
            EdgeEntry& first = firstEdge.Find(key, [&](const EdgeEntry& e) { return e.key == key; });
            if (first.key == EdgeEntry::emptyKey) {
                first = EdgeEntry{key, slot};
                continue;
            }
            const std::uint32_t partner = first.slot;
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
        // Equal triangles are found in turn; a found entry is marked so.
        FlatTable<TriangleEntry> faceOf(end - start);
        for (std::size_t i = start; i < end; ++i) {
            const TriangleEntry entry = TriangleEntry::Of(indices + std::size_t{faceOrder[i]} * 3, faceOrder[i]);
            faceOf.Find(entry.Key(), [](const TriangleEntry&) { return false; }) = entry;
        }
        for (std::size_t t = 0; t < end - start; ++t) {
            const TriangleEntry wanted = TriangleEntry::Of(&reordered[t * 3], 0);
            TriangleEntry& found = faceOf.Find(wanted.Key(), [&](const TriangleEntry& e) {
                return e.face != TriangleEntry::takenFace && e.SameCorners(wanted);
            });
            if (!found.Empty()) {
                faceOrder[start + t] = found.face;
                found.face = TriangleEntry::takenFace;
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
