#include "stage/archive_sprites.h"

#include "sprites/archive_path.h"

namespace tavrix {

std::shared_ptr<const Picture> ArchiveSprites::find(SpriteKey key) {
    if (!archive_.ok())
        return nullptr;
    auto picture = archive_.value().picture(key);
    return picture.ok() ? std::move(picture.value()) : nullptr;
}

// A failed decode is kept by the archive, so asking again costs nothing.
std::string ArchiveSprites::why_missing(SpriteKey key) {
    if (!archive_.ok())
        return sprite_fault_text(archive_.error());
    const auto picture = archive_.value().picture(key);
    return picture.ok() ? std::string() : sprite_fault_text(picture.error());
}

OpenSprites archive_sprites_opener(std::function<bool(std::string_view)> exists) {
    return [exists = std::move(exists)](std::string_view storyboard_path,
                                        std::string_view archive_name) {
        const std::string path = resolve_archive_path(storyboard_path, archive_name, exists);
        return std::make_unique<ArchiveSprites>(open_sprite_archive(path));
    };
}

}  // namespace tavrix
