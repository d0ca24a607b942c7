#include "app/preview.h"

#include <vector>

#include "stage/png_image.h"
#include "stage/scene_plan.h"
#include "storyboard/on_screen.h"

namespace tavrix {
namespace {

std::string placeholder_line(const ActionFrame& frame, SpriteSource& sprites) {
    return "El sprite " + std::to_string(frame.sprite.group) + "," +
           std::to_string(frame.sprite.number) + " del marco " + std::to_string(frame.number) +
           " es un recuadro: " + sprites.why_missing(frame.sprite);
}

}  // namespace

Preview::Preview(const Form1& form, OpenSprites open_sprites, PreviewClock::Now now)
    : form_(form), open_sprites_(std::move(open_sprites)), clock_(std::move(now)) {}

// The plan is made again only when a control changed; the archive is opened again only
// when the storyboard's path or the archive's name did.
void Preview::refresh() {
    const Window& window = form_.window();
    if (planned_revision_ == window.revision())
        return;
    plan_ = plan_scene(scene_on_screen(window, true));
    planned_revision_ = window.revision();
    clock_.set_length(plan_.end_time + 1);
    std::pair<std::string, std::string> archive{window.text(ControlId::Text11),
                                                window.text(ControlId::Text12)};
    if (archive_ != archive) {
        sprites_ = open_sprites_(archive.first, archive.second);
        archive_ = std::move(archive);
    }
}

const Plan& Preview::plan() {
    refresh();
    return plan_;
}

PreviewStatus Preview::draw(StagePixels image) {
    refresh();
    PreviewStatus status;
    status.tick = clock_.tick();
    status.end_time = plan_.end_time;
    status.seconds = static_cast<double>(status.tick) / kTicksPerSecond;
    status.playing = clock_.playing();
    const StageReport report = compose(plan_, status.tick, *sprites_, image);
    const Drawn& shown = report.layer.frame ? report.layer : report.background;
    if (shown.frame) {
        status.frame = shown.frame->number;
        status.sprite = shown.frame->sprite;
    }
    for (const Drawn* drawn : {&report.layer, &report.background}) {
        if (drawn->placeholder && status.placeholder.empty())
            status.placeholder = placeholder_line(*drawn->frame, *sprites_);
    }
    return status;
}

Expected<PreviewStatus, std::string> Preview::save_png(std::int64_t tick, std::string_view path,
                                                       Output& output) {
    const auto failure = [path](std::string_view reason) {
        std::string message = "No se pudo guardar la vista previa \"";
        message.append(path).append("\": ").append(reason);
        return message;
    };
    refresh();
    if (tick > plan_.end_time) {
        return failure("el tic " + std::to_string(tick) +
                       " queda fuera de la escena, que va del 0 al " +
                       std::to_string(plan_.end_time));
    }
    clock_.seek(tick);
    std::vector<std::uint8_t> image(kStageBytes);
    PreviewStatus status = draw(StagePixels(image.data(), kStageBytes));
    IoStatus written = output.open(path);
    if (written.ok())
        written = output.write(encode_png(StagePixels(image.data(), kStageBytes)));
    if (written.ok())
        written = output.commit();
    if (!written.ok()) {
        output.abandon();
        return failure(written.reason());
    }
    return status;
}

void Preview::play() {
    refresh();
    clock_.play();
}

void Preview::pause() {
    clock_.pause();
}

void Preview::toggle() {
    refresh();
    clock_.toggle();
}

void Preview::step(std::int64_t ticks) {
    refresh();
    clock_.step(ticks);
}

void Preview::seek(std::int64_t tick) {
    refresh();
    clock_.seek(tick);
}

}  // namespace tavrix
