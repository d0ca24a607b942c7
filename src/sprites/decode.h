// One sprite of the index decoded into a picture: the checked range is read, one codec runs,
// and the palette, if any, is applied.
#pragma once

#include "common/expected.h"
#include "sprites/fault.h"
#include "sprites/index.h"
#include "sprites/picture.h"
#include "system/byte_source.h"

namespace tavrix {

[[nodiscard]] Expected<Picture, SpriteFault> decode_sprite(ByteSource& source,
                                                           const IndexEntry& entry);

}  // namespace tavrix
