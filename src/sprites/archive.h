// A sprite archive (.sff), version 1 or 2. Opening reads the header and the index of every
// sprite and palette, checks each offset against the file and resolves every link, without
// reading a pixel; a sprite is decoded the first time it is asked for and then kept, so
// memory grows with the sprites drawn, up to a limit, not with the archive.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "common/expected.h"
#include "sprites/fault.h"
#include "sprites/picture.h"
#include "system/byte_source.h"

namespace tavrix {

// A sprite as the index knows it. A linked sprite has the size of the sprite it links to
// and an axis of its own.
struct SpriteInfo {
    SpriteKey key;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::int16_t axis_x = 0;
    std::int16_t axis_y = 0;
};

struct IndexEntry;

class SpriteArchive {
  public:
    // Refuses an archive that is damaged as a whole; a fault of one sprite's pixels is left
    // for when that sprite is drawn.
    [[nodiscard]] static Expected<SpriteArchive, SpriteFault> open(
        std::unique_ptr<ByteSource> source);

    SpriteArchive(SpriteArchive&&) noexcept;
    SpriteArchive& operator=(SpriteArchive&&) noexcept;
    ~SpriteArchive();

    [[nodiscard]] int version() const noexcept;  // 1 or 2
    // Every sprite in file order; a key given twice is drawn from its first sprite.
    [[nodiscard]] const std::vector<SpriteInfo>& sprites() const noexcept;

    // The sprite decoded, from what is kept when it was decoded before. A failed decode is
    // remembered too, and gives the same fault again.
    [[nodiscard]] Expected<std::shared_ptr<const Picture>, SpriteFault> picture(SpriteKey key);

    // How many bytes of decoded pictures may be kept (kMaxKeptBytes unless set); the sprites
    // drawn longest ago make room for new ones.
    void set_kept_limit(std::uint64_t bytes);
    [[nodiscard]] std::uint64_t kept_bytes() const noexcept;

  private:
    struct State;
    explicit SpriteArchive(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// The archive at a path on the real file system.
[[nodiscard]] Expected<SpriteArchive, SpriteFault> open_sprite_archive(std::string_view path);

}  // namespace tavrix
