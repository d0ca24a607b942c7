#include "sprites/index.h"

namespace tavrix {

SpriteFaultKind range_fault(std::uint64_t offset, std::uint64_t size) {
    return offset < size ? SpriteFaultKind::Truncated : SpriteFaultKind::OutsideFile;
}

SpriteFault archive_fault(SpriteFaultKind kind, std::uint64_t offset) {
    SpriteFault fault;
    fault.kind = kind;
    fault.offset = offset;
    return fault;
}

SpriteFault sprite_fault(SpriteFaultKind kind, SpriteKey key, std::uint64_t offset) {
    SpriteFault fault = archive_fault(kind, offset);
    fault.place = FaultPlace::Sprite;
    fault.key = key;
    return fault;
}

SpriteFault unreadable_fault() {
    SpriteFault fault;
    fault.kind = SpriteFaultKind::FileUnreadable;
    fault.system_reason = "la lectura falló o el archivo cambió mientras estaba abierto";
    return fault;
}

}  // namespace tavrix
