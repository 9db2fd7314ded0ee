#include "d3dx9/mesh/pending_cache_order.h"

#include <system_error>

#include "d3dx9/mesh/mesh_algorithms.h"

namespace quorvane::d3dx9 {
namespace {

// Below this many faces the order takes about as long as starting a thread.
constexpr std::size_t smallestFaceCount = 8192;

}  // namespace

std::vector<std::uint32_t> VertexCacheFaceOrder(const std::vector<std::uint32_t>& indices,
                                                const std::vector<std::uint32_t>& attributes, std::size_t vertexCount)
{
    std::vector<std::uint32_t> order = meshops::SortFacesByAttribute(attributes.data(), attributes.size());
    meshops::ReorderForVertexCache(indices.data(), attributes.data(), order, vertexCount);
    return order;
}

PendingCacheOrder::PendingCacheOrder(std::vector<std::uint32_t> indices, std::vector<std::uint32_t> attributes,
                                     std::size_t vertexCount)
    : indices_(std::move(indices)), attributes_(std::move(attributes)), vertexCount_(vertexCount)
{
    // The inputs are this object's own and constant: the thread reads them while it lives, and
    // the future's last owner, this object, waits for the thread before they go.
    order_ = std::async(std::launch::async, [this] {
                 return VertexCacheFaceOrder(indices_, attributes_, vertexCount_);
             }).share();
}

std::shared_ptr<PendingCacheOrder> PendingCacheOrder::Start(std::vector<std::uint32_t> indices,
                                                            std::vector<std::uint32_t> attributes,
                                                            std::size_t vertexCount)
{
#ifdef QUORVANE_NO_THREADS
    // A build without threads (the browser's): Optimize works the order out itself.
    const bool threads = false;
#else
    const bool threads = true;
#endif
    if (!threads || attributes.size() < smallestFaceCount) {
        return nullptr;
    }
    try {
        return std::shared_ptr<PendingCacheOrder>(
            new PendingCacheOrder(std::move(indices), std::move(attributes), vertexCount));
    } catch (const std::system_error&) {
        return nullptr;  // no thread: Optimize works the order out itself
    }
}

bool PendingCacheOrder::StartedFrom(const std::vector<std::uint32_t>& indices,
                                    const std::vector<std::uint32_t>& attributes, std::size_t vertexCount) const
{
    return vertexCount == vertexCount_ && indices == indices_ && attributes == attributes_;
}

const std::vector<std::uint32_t>* PendingCacheOrder::OrderFor(const std::vector<std::uint32_t>& indices,
                                                              const std::vector<std::uint32_t>& attributes,
                                                              std::size_t vertexCount)
{
    if (!StartedFrom(indices, attributes, vertexCount)) {
        return nullptr;
    }
    try {
        return &order_.get();
    } catch (const std::bad_alloc&) {
        return nullptr;  // the thread ran out of memory: Optimize tries itself
    }
}

}  // namespace quorvane::d3dx9
