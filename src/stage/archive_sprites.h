// The stage's sprites from the archive that a storyboard names in "Archivo .sff:".
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "sprites/archive.h"
#include "sprites/fault.h"
#include "stage/compose.h"

namespace tavrix {

// An opened archive, or why there is none: then every sprite is missing for that reason.
class ArchiveSprites final : public SpriteSource {
  public:
    explicit ArchiveSprites(Expected<SpriteArchive, SpriteFault> archive)
        : archive_(std::move(archive)) {}

    [[nodiscard]] std::shared_ptr<const Picture> find(SpriteKey key) override;
    [[nodiscard]] std::string why_missing(SpriteKey key) override;

  private:
    Expected<SpriteArchive, SpriteFault> archive_;
};

// Archives on the real file system; `exists` tells where a name is found.
[[nodiscard]] OpenSprites archive_sprites_opener(std::function<bool(std::string_view)> exists);

}  // namespace tavrix
