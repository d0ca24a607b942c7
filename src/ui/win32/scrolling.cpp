#include "ui/win32/scrolling.h"

#include <algorithm>

#include "ui/win32/dpi.h"

namespace tavrix::win32 {
namespace {

RECT work_area(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    return monitor.rcWork;
}

void set_range(HWND window, int bar, int length, int shown) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = length - 1;
    info.nPage = static_cast<UINT>(std::max(shown, 0));  // a page as long as the form hides it
    SetScrollInfo(window, bar, &info, TRUE);
}

int line_step(HWND window) {
    return MulDiv(16, window_dpi(window), kDefaultDpi);
}

}  // namespace

void Scrolling::fit(HWND window, SIZE form, DWORD style, int dpi) {
    offset_ = POINT{};  // the controls were just placed where the form puts them
    const bool menu = GetMenu(window) != nullptr;
    const SIZE whole = outer_size(form, style, 0, dpi, menu);
    const RECT work = work_area(window);
    const SIZE room{work.right - work.left, work.bottom - work.top};
    const bool fits = whole.cx <= room.cx && whole.cy <= room.cy;
    SIZE outer = whole;
    if (!fits) {
        const SIZE bars{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
        outer = outer_size(SIZE{form.cx + bars.cx, form.cy + bars.cy}, style, 0, dpi, menu);
        outer = SIZE{std::min(outer.cx, room.cx), std::min(outer.cy, room.cy)};
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    // Kept on the work area, which a window taller than it would otherwise leave.
    const int left =
        fits ? frame.left : std::clamp<int>(frame.left, work.left, work.right - outer.cx);
    const int top = fits ? frame.top : std::clamp<int>(frame.top, work.top, work.bottom - outer.cy);
    SetWindowPos(window, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // A bar shown or hidden changes the client area, and so the other bar: twice is enough.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client{};
        GetClientRect(window, &client);
        set_range(window, SB_HORZ, form.cx, fits ? form.cx : client.right);
        set_range(window, SB_VERT, form.cy, fits ? form.cy : client.bottom);
    }
}

void Scrolling::handle(HWND window, UINT message, WPARAM w) {
    const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    int position = info.nPos;
    const int page = static_cast<int>(info.nPage);
    if (message == WM_MOUSEWHEEL) {
        position -= MulDiv(GET_WHEEL_DELTA_WPARAM(w), 3 * line_step(window), WHEEL_DELTA);
    } else {
        switch (LOWORD(w)) {
            case SB_LINEUP:
                position -= line_step(window);
                break;
            case SB_LINEDOWN:
                position += line_step(window);
                break;
            case SB_PAGEUP:
                position -= page;
                break;
            case SB_PAGEDOWN:
                position += page;
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION:
                position = info.nTrackPos;
                break;
            case SB_TOP:
                position = info.nMin;
                break;
            case SB_BOTTOM:
                position = info.nMax;
                break;
            default:
                break;
        }
    }
    scroll_to(window, bar, std::clamp(position, 0, std::max(0, info.nMax + 1 - page)));
}

void Scrolling::reveal(HWND window, HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    RECT client{};
    GetClientRect(window, &client);
    const auto into_view = [](LONG start, LONG end, LONG shown, LONG now) {
        if (start < 0)
            return now + start;
        if (end > shown)
            return now + std::min(end - shown, start);
        return now;
    };
    scroll_to(window, SB_HORZ, into_view(place.left, place.right, client.right, offset_.x));
    scroll_to(window, SB_VERT, into_view(place.top, place.bottom, client.bottom, offset_.y));
}

void Scrolling::scroll_to(HWND window, int bar, int position) {
    LONG& now = bar == SB_HORZ ? offset_.x : offset_.y;
    if (position == now)
        return;
    const int by = now - position;
    now = position;
    SetScrollPos(window, bar, position, TRUE);
    ScrollWindowEx(window, bar == SB_HORZ ? by : 0, bar == SB_VERT ? by : 0, nullptr, nullptr,
                   nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

}  // namespace tavrix::win32
