#include "ui/win32/layout.h"

#include <algorithm>

namespace tavrix::win32 {
namespace {

// Rounds twips × dpi / 1440 to the nearest pixel, halves away from zero.
int twips_to_pixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

bool overlap(const Twips& a, const Twips& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// The control's containers from the outermost one, then the control itself.
std::vector<ControlId> containers_and_self(ControlId id) {
    std::vector<ControlId> chain;
    for (std::optional<ControlId> at = id; at; at = control_def(*at).container)
        chain.push_back(*at);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

}  // namespace

Twips place_on_window(const ControlDef& def) {
    Twips place = shown_place(def);
    for (std::optional<ControlId> at = def.container; at; at = control_def(*at).container) {
        place.left += control_def(*at).place.left;
        place.top += control_def(*at).place.top;
    }
    return place;
}

PixelRect to_pixels(const Twips& place, int dpi) {
    const int left = twips_to_pixels(place.left, dpi);
    const int top = twips_to_pixels(place.top, dpi);
    return PixelRect{left, top, twips_to_pixels(place.left + place.width, dpi) - left,
                     twips_to_pixels(place.top + place.height, dpi) - top};
}

bool lies_above(ControlId upper, ControlId lower) {
    const std::vector<ControlId> up = containers_and_self(upper);
    const std::vector<ControlId> low = containers_and_self(lower);
    std::size_t level = 0;
    while (level < up.size() && level < low.size() && up[level] == low[level])
        ++level;
    if (level == up.size() || level == low.size())
        return level == low.size() && level < up.size();  // `upper` lies inside `lower`
    return index_of(up[level]) > index_of(low[level]);
}

std::vector<ControlId> covering(ControlId id) {
    const Twips place = place_on_window(control_def(id));
    std::vector<ControlId> above;
    for (const ControlDef& other : control_table()) {
        if (other.id != id && overlap(place, place_on_window(other)) && lies_above(other.id, id))
            above.push_back(other.id);
    }
    return above;
}

std::vector<ControlId> creation_order() {
    std::vector<ControlId> order = focus_order();
    const auto& table = control_table();
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        if (std::find(order.begin(), order.end(), it->id) == order.end())
            order.push_back(it->id);
    }
    return order;
}

}  // namespace tavrix::win32
