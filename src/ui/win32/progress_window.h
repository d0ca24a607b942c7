// The small window a long run shows ("Generar!", "Generar storyboard completo"): how far the
// run has got, and "Cancelar".
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "ui/win32/dpi.h"

namespace tavrix::win32 {

class ProgressWindow {
  public:
    // Opens centred on `owner`, which stays disabled while this window is open, titled with
    // the command that runs.
    static std::unique_ptr<ProgressWindow> open(HWND owner, HINSTANCE instance,
                                                std::string_view title);
    explicit ProgressWindow(HWND owner) : owner_(owner) {}
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void show_progress(std::uint64_t frames, std::uint64_t bytes);

    // Handles the messages waiting for this thread; false once the person cancelled or
    // the program is asked to end.
    bool pump();

    HWND handle() const { return window_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void create_children(HINSTANCE instance);

    HWND owner_;
    HWND window_ = nullptr;
    HWND text_ = nullptr;
    HWND cancel_ = nullptr;
    Font font_;
    bool cancelled_ = false;
};

}  // namespace tavrix::win32
