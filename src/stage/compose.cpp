#include "stage/compose.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tavrix {
namespace {

constexpr std::size_t kRowBytes = std::size_t{kStageWidth} * 4;

void fill(StagePixels image, Rgb colour) {
    const std::array<std::uint8_t, 4> pixel{colour.red, colour.green, colour.blue, 255};
    for (std::size_t at = 0; at < kRowBytes; at += 4)
        std::memcpy(image.data() + at, pixel.data(), 4);
    for (std::size_t at = kRowBytes; at < image.size(); at += kRowBytes)
        std::memcpy(image.data() + at, image.data(), kRowBytes);
}

// The part of a rectangle that lies on the stage, as half-open column and row ranges.
struct Clip {
    int left, right, top, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

Clip clip(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    const auto within = [](std::int64_t value, int limit) {
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, limit));
    };
    return {within(left, kStageWidth), within(left + width, kStageWidth), within(top, kStageHeight),
            within(top + height, kStageHeight)};
}

std::uint8_t over(std::uint8_t source, std::uint8_t alpha, std::uint8_t stage) {
    return static_cast<std::uint8_t>((source * alpha + stage * (255 - alpha) + 127) / 255);
}

// Colour 0 of a palette sprite has alpha 0 and leaves the stage as it was.
void draw_picture(const Picture& picture, std::int64_t left, std::int64_t top, StagePixels image) {
    const Clip area = clip(left, top, picture.width, picture.height);
    if (area.empty() || picture.rgba.size() < std::size_t{picture.width} * picture.height * 4)
        return;
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* from =
            picture.rgba.data() +
            (static_cast<std::size_t>(y - top) * picture.width + (area.left - left)) * 4;
        std::uint8_t* to = image.data() + static_cast<std::size_t>(y) * kRowBytes + area.left * 4;
        for (int x = area.left; x < area.right; ++x, from += 4, to += 4) {
            const std::uint8_t alpha = from[3];
            if (alpha == 255) {
                std::memcpy(to, from, 3);
            } else if (alpha != 0) {
                for (int channel = 0; channel < 3; ++channel)
                    to[channel] = over(from[channel], alpha, to[channel]);
            }
        }
    }
}

void draw_placeholder(std::int64_t left, std::int64_t top, StagePixels image) {
    const Clip area = clip(left, top, kPlaceholderSide, kPlaceholderSide);
    const std::array<std::uint8_t, 3> pixel{kPlaceholderColour.red, kPlaceholderColour.green,
                                            kPlaceholderColour.blue};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            std::memcpy(image.data() + static_cast<std::size_t>(y) * kRowBytes + x * 4,
                        pixel.data(), 3);
    }
}

Drawn draw_action(const Plan& plan, const std::optional<Placement>& place, std::int64_t tick,
                  SpriteSource& sprites, StagePixels image) {
    if (!place)
        return {};
    const ActionFrame* frame = plan.action.at(tick - place->start);
    if (!frame)
        return {};
    const std::int64_t x = std::int64_t{place->x} + frame->x;
    const std::int64_t y = std::int64_t{place->y} + frame->y;
    if (const std::shared_ptr<const Picture> picture = sprites.find(frame->sprite)) {
        draw_picture(*picture, x - picture->axis_x, y - picture->axis_y, image);
        return {frame, false};
    }
    draw_placeholder(x, y, image);
    return {frame, true};
}

// `cover` parts in `span` of every pixel become the fade's colour, weighed in 1/65536ths
// so that the loop runs on whole numbers the compiler can vectorise. Alpha stays 255.
void blend_toward(Rgb colour, std::int64_t cover, std::int64_t span, StagePixels image) {
    constexpr std::uint32_t kOne = 1 << 16;
    const auto weight = static_cast<std::uint32_t>((cover * kOne + span / 2) / span);
    const std::uint32_t kept = kOne - weight;
    const std::array<std::uint32_t, 4> added{
        colour.red * weight + kOne / 2, colour.green * weight + kOne / 2,
        colour.blue * weight + kOne / 2, 255 * weight + kOne / 2};
    std::uint8_t* pixels = image.data();
    for (std::size_t at = 0; at < image.size(); at += 4) {
        for (std::size_t channel = 0; channel < 4; ++channel) {
            pixels[at + channel] =
                static_cast<std::uint8_t>((pixels[at + channel] * kept + added[channel]) >> 16);
        }
    }
}

// Fully the fade-in colour at tick 0 and clear at its last tick; the fade-out clear at its
// first tick and fully its colour at the scene's end.
void apply_fades(const Plan& plan, std::int64_t tick, StagePixels image) {
    if (const Fade& in = plan.fade_in; in.ticks > 0 && tick < in.ticks)
        blend_toward(in.colour, in.ticks - tick, in.ticks, image);
    if (const Fade& out = plan.fade_out; out.ticks > 0) {
        const std::int64_t first = plan.end_time - out.ticks;
        if (tick > first)
            blend_toward(out.colour, std::min(tick - first, out.ticks), out.ticks, image);
    }
}

}  // namespace

StageReport compose(const Plan& plan, std::int64_t tick, SpriteSource& sprites, StagePixels image) {
    tick = std::clamp<std::int64_t>(tick, 0, std::max<std::int64_t>(plan.end_time, 0));
    fill(image, plan.clear);
    StageReport report;
    report.background = draw_action(plan, plan.background, tick, sprites, image);
    report.layer = draw_action(plan, plan.layer, tick, sprites, image);
    apply_fades(plan, tick, image);
    return report;
}

}  // namespace tavrix
