// The preview of the scene on screen, which both windows and tavrix-script show: the stage
// that "Generar!" would write, drawn with the sprites of the archive named in "Archivo
// .sff:", at the tick of a steady clock. It follows the form: a change of any field shows
// at the next draw. The views only show the image and the values of PreviewStatus.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "app/preview_clock.h"
#include "stage/compose.h"
#include "stage/plan.h"
#include "system/output.h"

namespace tavrix {

// What the views show under the stage.
struct PreviewStatus {
    std::int64_t tick = 0;
    std::int64_t end_time = 0;  // the scene's last tick
    double seconds = 0;         // tick / 60
    bool playing = false;
    // The frame that the layer shows (the background's when the layer shows none),
    // numbered in the action from 1, and its sprite.
    std::optional<std::uint64_t> frame;
    std::optional<SpriteKey> sprite;
    // Which sprite is drawn as a placeholder box and why, in one Spanish line; empty when
    // none is.
    std::string placeholder;
};

class Preview {
  public:
    Preview(const Form1& form, OpenSprites open_sprites,
            PreviewClock::Now now = std::chrono::steady_clock::now);
    Preview(const Preview&) = delete;
    Preview& operator=(const Preview&) = delete;

    // Draws the tick that the clock shows into `image`.
    PreviewStatus draw(StagePixels image);

    void play();
    void pause();
    void toggle();
    void step(std::int64_t ticks);  // pauses there
    void seek(std::int64_t tick);
    [[nodiscard]] bool playing() const { return clock_.playing(); }

    // The plan of the scene as the form stands.
    [[nodiscard]] const Plan& plan();

    // Shows `tick` and writes the stage as a PNG file at `path` through `output`, which
    // replaces the file only by a complete new one; or the message the window shows.
    [[nodiscard]] Expected<PreviewStatus, std::string> save_png(std::int64_t tick,
                                                                std::string_view path,
                                                                Output& output);

  private:
    void refresh();

    const Form1& form_;
    OpenSprites open_sprites_;
    PreviewClock clock_;
    Plan plan_;
    std::optional<std::uint64_t> planned_revision_;
    // The storyboard path and archive name the sprites were opened for.
    std::optional<std::pair<std::string, std::string>> archive_;
    std::unique_ptr<SpriteSource> sprites_;
};

}  // namespace tavrix
