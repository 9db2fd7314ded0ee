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

// Items 0..count-1 grouped by a bucket number, each bucket's items in ascending order: a
// counting sort in two sequential passes, with no allocation per item. Numbers that keep
// neighbouring items in neighbouring buckets (a vertex index) keep memory access local.
class Buckets {
public:
    // bucketOf(item) is below bucketCount, or bucketCount to leave the item out.
    template <class BucketOf>
    Buckets(std::size_t count, std::size_t bucketCount, BucketOf bucketOf) : starts_(bucketCount + 2, 0)
    {
        for (std::size_t item = 0; item < count; ++item) {
            if (const std::size_t bucket = bucketOf(item); bucket < bucketCount) {
                ++starts_[bucket + 2];
            }
        }
        for (std::size_t bucket = 2; bucket < starts_.size(); ++bucket) {
            starts_[bucket] += starts_[bucket - 1];
        }
        items_.resize(starts_.back());
        // starts_[b + 1] is the next free place of bucket b; once filled it is b's end.
        for (std::size_t item = 0; item < count; ++item) {
            if (const std::size_t bucket = bucketOf(item); bucket < bucketCount) {
                items_[starts_[bucket + 1]++] = static_cast<std::uint32_t>(item);
            }
        }
    }

    const std::uint32_t* begin(std::size_t bucket) const { return items_.data() + starts_[bucket]; }
    const std::uint32_t* end(std::size_t bucket) const { return items_.data() + starts_[bucket + 1]; }
    std::size_t BucketCount() const { return starts_.size() - 2; }

private:
    std::vector<std::uint32_t> starts_;
    std::vector<std::uint32_t> items_;
};

// A power of two at least min(wanted, limit): enough buckets for the ids in use, never more than
// there are items.
std::size_t BucketCountFor(std::size_t wanted, std::size_t limit)
{
    std::size_t count = 1;
    while (count < std::min(wanted, limit)) {
        count *= 2;
    }
    return count;
}

// For each face edge (v0, v1), (v1, v2), (v2, v0) its two points, the smaller in the high half,
// computed once as every pass over the edges needs them; `largestPoint` gets the largest point.
std::vector<std::uint64_t> EdgeKeys(const std::uint32_t* indices, std::size_t faceCount, const std::uint32_t* pointIds,
                                    std::uint32_t& largestPoint)
{
    std::vector<std::uint64_t> keys(faceCount * 3);
    const auto key = [](std::uint32_t a, std::uint32_t b) {
        return std::uint64_t{std::min(a, b)} << 32 | std::max(a, b);
    };
    largestPoint = 0;
    for (std::size_t face = 0; face < faceCount; ++face) {
        std::uint32_t p[3];
        for (int corner = 0; corner < 3; ++corner) {
            const std::uint32_t vertex = indices[face * 3 + corner];
            p[corner] = pointIds ? pointIds[vertex] : vertex;
            largestPoint = std::max(largestPoint, p[corner]);
        }
        keys[face * 3] = key(p[0], p[1]);
        keys[face * 3 + 1] = key(p[1], p[2]);
        keys[face * 3 + 2] = key(p[2], p[0]);
    }
    return keys;
}

}  // namespace

std::vector<std::uint32_t> ComputeAdjacency(const std::uint32_t* indices, std::size_t faceCount,
                                            const std::uint32_t* pointIds)
{
    const std::size_t slotCount = faceCount * 3;
    std::vector<std::uint32_t> adjacency(slotCount, noNeighbour);
    std::uint32_t largestPoint = 0;
    const std::vector<std::uint64_t> edgeKeys = EdgeKeys(indices, faceCount, pointIds, largestPoint);
    // Face edges by their smaller point (folded into the buckets there are); degenerate ones
    // are left out.
    const std::size_t bucketCount = BucketCountFor(std::size_t{largestPoint} + 1, slotCount);
    const Buckets edges(slotCount, bucketCount, [&](std::size_t slot) -> std::size_t {
        const std::uint32_t smaller = static_cast<std::uint32_t>(edgeKeys[slot] >> 32);
        return smaller == static_cast<std::uint32_t>(edgeKeys[slot]) ? bucketCount : smaller & (bucketCount - 1);
    });
    // Within a bucket, the face edges with the same two points in slot order: the first pairs
    // with the first later one of another face (the partner of (a, b) is (b, a), or (a, b) for
    // inconsistently wound neighbours); any further ones stay alone.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> bucket;  // (points, slot)
    for (std::size_t index = 0; index < edges.BucketCount(); ++index) {
        bucket.clear();
        for (const std::uint32_t* slot = edges.begin(index); slot != edges.end(index); ++slot) {
            bucket.emplace_back(edgeKeys[*slot], *slot);
        }
        std::sort(bucket.begin(), bucket.end());
        for (std::size_t first = 0; first < bucket.size();) {
            std::size_t next = first + 1;
            const std::uint32_t firstFace = bucket[first].second / 3;
            bool paired = false;
            for (; next < bucket.size() && bucket[next].first == bucket[first].first; ++next) {
                const std::uint32_t face = bucket[next].second / 3;
                if (!paired && face != firstFace) {
                    adjacency[bucket[first].second] = face;
                    adjacency[bucket[next].second] = firstFace;
                    paired = true;
                }
            }
            first = next;
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

namespace {

template <class Index>
std::vector<AttributeRange> AttributeRangesOf(const Index* indices, const std::uint32_t* attributes,
                                              std::size_t faceCount)
{
    std::vector<AttributeRange> ranges;
    for (std::size_t face = 0; face < faceCount;) {
        std::size_t end = face;
        std::uint32_t low = UINT32_MAX;
        std::uint32_t high = 0;
        while (end < faceCount && attributes[end] == attributes[face]) {
            for (int i = 0; i < 3; ++i) {
                low = std::min<std::uint32_t>(low, indices[end * 3 + i]);
                high = std::max<std::uint32_t>(high, indices[end * 3 + i]);
            }
            ++end;
        }
        ranges.push_back({attributes[face], static_cast<std::uint32_t>(face), static_cast<std::uint32_t>(end - face),
                          low, high - low + 1});
        face = end;
    }
    return ranges;
}

}  // namespace

std::vector<AttributeRange> ComputeAttributeRanges(const std::uint32_t* indices, const std::uint32_t* attributes,
                                                   std::size_t faceCount)
{
    return AttributeRangesOf(indices, attributes, faceCount);
}

std::vector<AttributeRange> ComputeAttributeRanges(const std::uint16_t* indices, const std::uint32_t* attributes,
                                                   std::size_t faceCount)
{
    return AttributeRangesOf(indices, attributes, faceCount);
}

std::vector<std::uint32_t> SortFacesByAttribute(const std::uint32_t* attributes, std::size_t faceCount)
{
    std::vector<std::uint32_t> faces(faceCount);
    std::iota(faces.begin(), faces.end(), 0u);
    if (std::is_sorted(attributes, attributes + faceCount)) {
        return faces;  // already in order, as a single-material mesh always is
    }
    std::stable_sort(faces.begin(), faces.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return attributes[a] < attributes[b]; });
    return faces;
}

namespace {

// Whether entries [start, end) of a face order are consecutive faces.
bool Consecutive(const std::vector<std::uint32_t>& faceOrder, std::size_t start, std::size_t end)
{
    for (std::size_t i = start + 1; i < end; ++i) {
        if (faceOrder[i] != faceOrder[i - 1] + 1) {
            return false;
        }
    }
    return true;
}

}  // namespace

void ReorderForVertexCache(const std::uint32_t* indices, const std::uint32_t* attributes,
                           std::vector<std::uint32_t>& faceOrder, std::size_t vertexCount)
{
    std::vector<std::uint32_t> runIndices;
    std::vector<std::uint32_t> runFaces;
    std::vector<std::uint32_t> reordered;
    std::vector<bool> taken;
    for (std::size_t start = 0; start < faceOrder.size();) {
        std::size_t end = start;
        while (end < faceOrder.size() && attributes[faceOrder[end]] == attributes[faceOrder[start]]) {
            ++end;
        }
        const std::size_t runLength = end - start;
        // A run of faces that follow each other in the mesh (a single material's always do) is
        // read where it lies; any other is gathered first.
        const std::uint32_t firstFace = faceOrder[start];
        const bool inPlace = Consecutive(faceOrder, start, end);
        const std::uint32_t* run = indices + std::size_t{firstFace} * 3;
        if (!inPlace) {
            runFaces.assign(faceOrder.begin() + start, faceOrder.begin() + end);
            runIndices.clear();
            runIndices.reserve(runLength * 3);
            for (const std::uint32_t face : runFaces) {
                runIndices.insert(runIndices.end(), indices + std::size_t{face} * 3,
                                  indices + std::size_t{face} * 3 + 3);
            }
            run = runIndices.data();
        }
        const auto faceOf = [&](std::size_t i) {
            return inPlace ? firstFace + static_cast<std::uint32_t>(i) : runFaces[i];
        };
        reordered.resize(runLength * 3);
        meshopt_optimizeVertexCache(reordered.data(), run, runLength * 3, vertexCount);
        // meshoptimizer moves triangles whole, corners in their order: find each one's face among
        // the run's triangles with the same first corner. Equal triangles are found in turn; a
        // found one is marked taken.
        const std::size_t bucketCount = BucketCountFor(vertexCount, runLength);
        const Buckets byFirstCorner(runLength, bucketCount,
                                    [&](std::size_t i) { return run[i * 3] & (bucketCount - 1); });
        taken.assign(runLength, false);
        for (std::size_t t = 0; t < runLength; ++t) {
            const std::uint32_t* wanted = &reordered[t * 3];
            const std::size_t bucket = wanted[0] & (bucketCount - 1);
            const std::uint32_t* found =
                std::find_if(byFirstCorner.begin(bucket), byFirstCorner.end(bucket),
                             [&](std::uint32_t i) { return !taken[i] && std::equal(wanted, wanted + 3, &run[i * 3]); });
            if (found != byFirstCorner.end(bucket)) {
                faceOrder[start + t] = faceOf(*found);
                taken[*found] = true;
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
