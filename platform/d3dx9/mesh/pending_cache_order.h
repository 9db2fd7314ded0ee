// The vertex-cache face order Optimize needs, worked out on a second thread as soon as a large
// mesh's faces are known, while the loader and its caller go on with the rest of their work (the
// program optimises every mesh it loads). Optimize takes the order only when the mesh's indices,
// attributes and vertex count are still the ones it was worked out from, and otherwise works out
// its own: the answer is the same either way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

namespace quorvane::d3dx9 {

// Faces sorted by attribute (stable), then each attribute's run reordered for the vertex cache.
std::vector<std::uint32_t> VertexCacheFaceOrder(const std::vector<std::uint32_t>& indices,
                                                const std::vector<std::uint32_t>& attributes, std::size_t vertexCount);

class PendingCacheOrder {
public:
    // Starts the work for a mesh large enough to gain from it; null for a small one, or when no
    // thread can be started.
    static std::shared_ptr<PendingCacheOrder> Start(std::vector<std::uint32_t> indices,
                                                    std::vector<std::uint32_t> attributes, std::size_t vertexCount);

    // Whether these are the inputs it was started with.
    bool StartedFrom(const std::vector<std::uint32_t>& indices, const std::vector<std::uint32_t>& attributes,
                     std::size_t vertexCount) const;

    // The order (waiting for it) when the inputs equal those it was started with; null otherwise.
    const std::vector<std::uint32_t>* OrderFor(const std::vector<std::uint32_t>& indices,
                                               const std::vector<std::uint32_t>& attributes, std::size_t vertexCount);

private:
    PendingCacheOrder(std::vector<std::uint32_t> indices, std::vector<std::uint32_t> attributes,
                      std::size_t vertexCount);

    const std::vector<std::uint32_t> indices_;
    const std::vector<std::uint32_t> attributes_;
    const std::size_t vertexCount_;
    std::shared_future<std::vector<std::uint32_t>> order_;
};

}  // namespace quorvane::d3dx9
