#include "ui/win32/dpi.h"

namespace tavrix::win32 {
namespace {

template <typename Function>
Function user32_function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32)
        return nullptr;
    // The documented way to reach a call that older systems lack.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int device_dpi(HWND window) {
    const HDC dc = GetDC(window);
    if (!dc)
        return kDefaultDpi;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int window_dpi(HWND window) {
    static const auto get_dpi = user32_function<GetDpiForWindowCall>("GetDpiForWindow");
    if (get_dpi) {
        const UINT dpi = get_dpi(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return device_dpi(window);
}

SIZE outer_size(SIZE client, DWORD style, DWORD ex_style, int dpi, bool with_menu) {
    static const auto adjust = user32_function<AdjustForDpiCall>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    const BOOL menu = with_menu ? TRUE : FALSE;
    if (!adjust || !adjust(&rect, style, menu, ex_style, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, menu, ex_style);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

Font dialog_font(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW face{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        face = metrics.lfMessageFont;
    } else {
        lstrcpynW(face.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    }
    face.lfHeight = -MulDiv(8, dpi, 72);
    face.lfWidth = 0;
    return Font(CreateFontIndirectW(&face));
}

}  // namespace tavrix::win32
