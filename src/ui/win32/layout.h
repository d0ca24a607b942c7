// Where the controls of the table stand in the native window, and in which order they are
// created. Free of the system headers, so that it can be checked anywhere.
//
// Every control is a child of the main window itself, frames included, placed at its
// position on the window (the sum of its containers' offsets). Keeping them siblings lets
// the dialog keyboard handling walk them in one order, the focus order.
#pragma once

#include <vector>

#include "model/controls.h"

namespace tavrix::win32 {

// A child window's control identifier is this base plus the control's index in the table,
// so that another program (the window test) can find a control from its name alone.
inline constexpr int kFirstControlId = 1000;

constexpr int control_id(ControlId id) {
    return kFirstControlId + static_cast<int>(index_of(id));
}

// The window class of the main window, which the window test looks for.
inline constexpr wchar_t kMainWindowClass[] = L"TavrixForm1";

inline constexpr int kTwipsPerInch = 1440;

struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    bool operator==(const PixelRect&) const = default;
};

// The control's place on the window's client area, in twips.
Twips place_on_window(const ControlDef& def);

// Twips to pixels at `dpi` dots per inch. Both edges are rounded, not the width, so that
// controls that touch in twips touch on screen at every scale.
PixelRect to_pixels(const Twips& place, int dpi);

// Whether `upper` lies above `lower` on screen: a container lies under what it holds;
// otherwise, at the level where their containers part, the one declared later lies above.
bool lies_above(ControlId upper, ControlId lower);

// The controls that lie above `id` and cover some of it. A child window does not paint
// there, so that the table's stacking shows whatever order the windows were created in.
std::vector<ControlId> covering(ControlId id);

// The order in which the child windows are created, which is also their Z order from the
// top: the controls that take focus, in focus order, so that Tab follows it; then the rest
// from the last declared to the first, so that a control lies above those declared before
// it, as in the table, and every frame lies under what it contains. Where this order and
// the table disagree (between two controls that take focus), `covering` settles it.
std::vector<ControlId> creation_order();

}  // namespace tavrix::win32
