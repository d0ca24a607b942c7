// The small window a long "Generar!" shows: how far the run has got, and "Cancelar".
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/win32/dpi.h"

namespace tavrix::win32 {

class ProgressWindow {
  public:
    // Opens centred on `owner`, which stays disabled while this window is open.
    static std::unique_ptr<ProgressWindow> open(HWND owner, HINSTANCE instance);
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
