// Records of an archive that name another record instead of holding data of their own
// (linked sprites, linked palettes, a palette taken from another sprite), resolved once.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/expected.h"

namespace tavrix {

struct LinkFailure {
    bool loop = false;         // else: a link to a record that does not exist
    std::uint32_t record = 0;  // the record whose link failed
};

// links[i]: nothing when record i holds its own data, else the record it names. Gives, for
// each record, the record that holds its data. Each record is visited at most twice, so
// neither a loop nor a long chain can hold it up.
[[nodiscard]] Expected<std::vector<std::uint32_t>, LinkFailure> resolve_links(
    const std::vector<std::optional<std::uint32_t>>& links);

}  // namespace tavrix
