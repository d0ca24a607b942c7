// Why an archive, or one sprite of it, cannot be shown: a kind and its place, compared by
// kind; one function makes the words that every part of the program shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sprites/picture.h"

namespace tavrix {

enum class SpriteFaultKind : std::uint8_t {
    NotAnArchive,
    UnknownVersion,
    Truncated,    // the file ends before what it holds
    OutsideFile,  // an offset points beyond the file or its block
    CountTooLarge,
    LinkLoop,
    LinkToNowhere,
    SizeTooLarge,
    SizeMismatch,  // the stated size of the pixels is not the sprite's
    BadPixelData,
    BadPalette,
    PngRefused,
    NoSuchSprite,
    FileNotFound,
    FileUnreadable,
};

// What the fault is about: the archive as a whole, or one sprite or palette of it.
enum class FaultPlace : std::uint8_t { Archive, Sprite, Palette };

struct SpriteFault {
    SpriteFaultKind kind = SpriteFaultKind::NotAnArchive;
    FaultPlace place = FaultPlace::Archive;
    SpriteKey key;                        // the sprite's or palette's group and number
    std::optional<std::uint64_t> offset;  // where in the file, when the fault lies in it
    std::uint32_t width = 0;              // SizeTooLarge: the size that was refused
    std::uint32_t height = 0;
    std::string system_reason;  // FileUnreadable: the system's words
};

// The one Spanish line for a fault, as the status bar, "Comprobar", tavrix-script and the
// placeholder show it: "el sprite 0,3 tiene los píxeles dañados (byte 1.234)".
[[nodiscard]] std::string sprite_fault_text(const SpriteFault& fault);

}  // namespace tavrix
