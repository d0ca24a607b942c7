#include "sprites/links.h"

#include <limits>

namespace tavrix {
namespace {

constexpr std::uint32_t kUnresolved = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kOnPath = kUnresolved - 1;

}  // namespace

Expected<std::vector<std::uint32_t>, LinkFailure> resolve_links(
    const std::vector<std::optional<std::uint32_t>>& links) {
    const auto count = static_cast<std::uint32_t>(links.size());
    std::vector<std::uint32_t> holder(count, kUnresolved);
    std::vector<std::uint32_t> path;
    for (std::uint32_t start = 0; start < count; ++start) {
        path.clear();
        std::uint32_t at = start;
        // Follows the chain until a record with data of its own, or one already resolved.
        while (holder[at] == kUnresolved && links[at]) {
            holder[at] = kOnPath;
            path.push_back(at);
            const std::uint32_t next = *links[at];
            if (next >= count)
                return LinkFailure{false, at};
            if (holder[next] == kOnPath)
                return LinkFailure{true, next};
            at = next;
        }
        const std::uint32_t found = holder[at] == kUnresolved ? at : holder[at];
        holder[at] = found;
        for (const std::uint32_t record : path)
            holder[record] = found;
    }
    return holder;
}

}  // namespace tavrix
