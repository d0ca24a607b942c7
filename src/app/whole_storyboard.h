// The whole storyboard of the scene store, which "Generar storyboard completo" writes: every
// scene of "Número de escenas:", each as the window would show it after the arrows brought it
// up, with the animations 0 up to its "Cantidad de animaciones:" one after another.
#pragma once

#include <string>
#include <vector>

#include "app/form1.h"
#include "storyboard/storyboard.h"

namespace tavrix {

// Worked out on a copy of the window, through the same reload and field rules, so that
// nothing on screen or in the store changes. Every scene carries the keys an engine needs.
[[nodiscard]] Storyboard store_storyboard(const Form1& form);

// Types `storyboard` into `form` as a person would: each scene brought up with the arrows,
// its boxes ticked as its groups need, every Estático box cleared, its fields typed and its
// rows one animation each; then the header and "Número de escenas:", and scene 0, animation 0
// brought up. Gives a line for each scene that the count cannot reach.
[[nodiscard]] std::vector<std::string> type_storyboard(Form1& form, const Storyboard& storyboard);

}  // namespace tavrix
