// Dots per inch of a window, and the font and frame sizes that follow from it. The calls
// that know about per-monitor scaling exist only on newer systems, so they are looked up
// at run time and replaced by the system-wide values elsewhere.
#pragma once

#include <windows.h>

#include <utility>

namespace tavrix::win32 {

inline constexpr int kDefaultDpi = 96;

int window_dpi(HWND window);

// A length of the layout, drawn at 96 dots per inch, at `dpi`.
inline int scaled(int pixels_at_96, int dpi) {
    return MulDiv(pixels_at_96, dpi, kDefaultDpi);
}

// The outer size of a window whose client area has the given size, at `dpi`, with a menu
// bar above the client area or without.
SIZE outer_size(SIZE client, DWORD style, DWORD ex_style, int dpi, bool with_menu = false);

// Owns a GDI font and deletes it.
class Font {
  public:
    Font() = default;
    explicit Font(HFONT font) : font_(font) {}
    Font(Font&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    Font& operator=(Font&& other) noexcept {
        if (this != &other) {
            reset();
            font_ = std::exchange(other.font_, nullptr);
        }
        return *this;
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font() { reset(); }

    HFONT get() const { return font_; }

  private:
    void reset() {
        if (font_)
            DeleteObject(font_);
        font_ = nullptr;
    }

    HFONT font_ = nullptr;
};

// The system's dialog font face at 8 points, the size the layout was drawn for.
Font dialog_font(int dpi);

}  // namespace tavrix::win32
