// The storyboard as one value: a header and a list of scenes, which "Generar!" writes,
// "Comprobar" checks, the stage plays and the size question measures. It holds no window:
// the scene on screen, the scene store and a file read back each make one.
//
// Every value is the text as typed, which the file gets byte for byte.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/ranges.h"

namespace tavrix {

struct Storyboard {
    using Pair = std::array<std::string, 2>;    // X, Y
    using Colour = std::array<std::string, 3>;  // red, green, blue

    struct Header {
        std::string sprite_file;
        std::optional<std::string> start_scene;
    };

    struct Fade {
        std::string in_time;
        Colour in_colour;
        std::string out_time;
    };

    // Layer 0: it plays the action numbered by `animation` from `start_time` on.
    struct Layer {
        std::string animation;
        Pair position;
        Pair offset;
        std::string start_time;
    };

    struct Music {
        std::string file;
        std::string loops;
    };

    // The masked background element.
    struct Background {
        std::string action;
        Pair start;
    };

    // One range of a row: from its "Desde:" text towards its "Hasta:" value. An "Estático"
    // range has both texts alike and so never moves.
    struct Range {
        std::string from;
        std::string to;
        bool steps_down = false;  // X and Y also move downward
        bool operator==(const Range&) const = default;
    };
    // The five ranges of one animation, in the order of kFrameRanges.
    using Row = std::array<Range, kRangeCount>;

    struct Scene {
        std::optional<Fade> fade;
        Colour clear_colour;
        Layer layer;
        std::optional<Music> music;
        std::optional<Background> background;
        // The keys an engine needs to play the scene as meant: its length ("end.time") and,
        // with the background, the key that points at it ("bg.name").
        bool engine_keys = false;
        // The action's frames: each row expanded in turn, one after another.
        std::vector<Row> action;
    };

    Header header;
    std::vector<Scene> scenes;
};

// A row whose ranges step as the frame ranges do, from these texts.
[[nodiscard]] Storyboard::Row range_row(const std::array<std::string, kRangeCount>& from,
                                        const std::array<std::string, kRangeCount>& to);

}  // namespace tavrix
