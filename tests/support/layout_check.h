// The one check of a window's layout against the control table, for both windows: every
// control in its place and the focus walk in table order. The expectations come from the
// table's own numbers (places in twips, containers, tab places), not from the code that
// lays a window out, so that a wrong number in the table shows as well as a window that
// misreads it.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "model/controls.h"

namespace tavrix::testing {

// A control's rectangle in the window's client area, in pixels.
struct ShownRect {
    int left;
    int top;
    int width;
    int height;
};

// What a window shows, as its test reads it.
struct ShownLayout {
    int dpi;
    std::function<ShownRect(ControlId)> place;
    // The controls that have the focus as Tab moves it once around the window, from any of
    // them until the focus comes back to it (without that last step).
    std::vector<ControlId> walk;
    std::function<bool(ControlId)> reachable;  // enabled and visible, with its containers
};

namespace layout_detail {

inline std::string name(ControlId id) {
    return std::string(control_def(id).name);
}

// An edge given in twips, on the pixel nearest to it (halves away from the corner).
inline int pixel_of(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

inline void check_places(const ShownLayout& shown, std::vector<std::string>& differences) {
    for (const ControlDef& def : control_table()) {
        Twips at = shown_place(def);
        for (auto container = def.container; container;
             container = control_def(*container).container) {
            at.left += control_def(*container).place.left;
            at.top += control_def(*container).place.top;
        }
        const int edges[] = {at.left, at.top, at.left + at.width, at.top + at.height};
        if (std::any_of(std::begin(edges), std::end(edges),
                        [](int edge) { return edge % kTwipsPerPixel != 0; }))
            differences.push_back(name(def.id) + ": an edge falls between two pixels at 96 dpi");
        const ShownRect wanted{pixel_of(edges[0], shown.dpi), pixel_of(edges[1], shown.dpi),
                               pixel_of(edges[2], shown.dpi) - pixel_of(edges[0], shown.dpi),
                               pixel_of(edges[3], shown.dpi) - pixel_of(edges[1], shown.dpi)};
        const ShownRect got = shown.place(def.id);
        if (got.left != wanted.left || got.top != wanted.top || got.width != wanted.width ||
            got.height != wanted.height) {
            const auto text = [](const ShownRect& r) {
                return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                       std::to_string(r.width) + "x" + std::to_string(r.height);
            };
            differences.push_back(name(def.id) + " at " + text(got) + ", the table says " +
                                  text(wanted));
        }
    }
}

inline void check_focus_walk(const ShownLayout& shown, std::vector<std::string>& differences) {
    std::vector<const ControlDef*> by_tab;
    for (const ControlDef& def : control_table()) {
        if (def.tab)
            by_tab.push_back(&def);
    }
    std::stable_sort(by_tab.begin(), by_tab.end(),
                     [](const ControlDef* a, const ControlDef* b) { return *a->tab < *b->tab; });
    std::vector<ControlId> wanted;
    for (std::size_t i = 0; i < by_tab.size(); ++i) {
        const ControlDef& def = *by_tab[i];
        if (i > 0 && *by_tab[i - 1]->tab == *def.tab)
            differences.push_back(name(by_tab[i - 1]->id) + " and " + name(def.id) +
                                  " share tab place " + std::to_string(*def.tab));
        if (def.kind != Kind::Label && def.kind != Kind::Frame && shown.reachable(def.id))
            wanted.push_back(def.id);
    }
    std::vector<ControlId> walk = shown.walk;
    const auto first = wanted.empty() ? walk.end() : std::find(walk.begin(), walk.end(), wanted[0]);
    std::rotate(walk.begin(), first, walk.end());
    if (walk != wanted) {
        const auto names = [](const std::vector<ControlId>& ids) {
            std::string text;
            for (ControlId id : ids)
                text.append(" ").append(control_def(id).name);
            return text;
        };
        differences.push_back(std::string("Tab visits")
                                  .append(names(walk))
                                  .append("; the table says")
                                  .append(names(wanted)));
    }
}

}  // namespace layout_detail

// Each way in which the window differs from the table, one line each; none when it agrees.
inline std::vector<std::string> layout_differences(const ShownLayout& shown) {
    std::vector<std::string> differences;
    layout_detail::check_places(shown, differences);
    layout_detail::check_focus_walk(shown, differences);
    return differences;
}

}  // namespace tavrix::testing
