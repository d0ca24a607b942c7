// At a large scale the form can be larger than the screen's work area: the window then
// shows as much of it as fits and scrolls the rest, the form keeping its size and layout.
#pragma once

#include <windows.h>

namespace tavrix::win32 {

class Scrolling {
  public:
    // Sizes `window` to show a form of `form` pixels whole when its monitor's work area holds
    // it, or else as much as the work area holds with scroll bars. The controls must stand
    // where the form puts them, unscrolled.
    void fit(HWND window, SIZE form, DWORD style, int dpi);

    // WM_HSCROLL, WM_VSCROLL or WM_MOUSEWHEEL.
    void handle(HWND window, UINT message, WPARAM w);

    // Scrolls so that `control`, a child of `window`, shows whole (a Tab may reach one that
    // is out of sight).
    void reveal(HWND window, HWND control);

  private:
    void scroll_to(HWND window, int bar, int position);

    POINT offset_{};  // how far the form is scrolled, in pixels
};

}  // namespace tavrix::win32
