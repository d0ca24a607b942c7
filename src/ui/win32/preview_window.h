// The window "Vista previa", owned by the editor's and beside it: the stage of the scene
// on the form at a whole factor of its size, Reproducir/Pausa (Space), a trackbar of the
// scene's ticks to drag, a tick back and forward (Left, Right) and what the stage shows
// under it. While it plays a timer asks for a redraw and the preview's clock says which
// tick; every edit of the form redraws it at once. It only shows what the stage composed.
#pragma once

#include <windows.h>

#include <memory>

#include "app/preview.h"
#include "ui/win32/dpi.h"

namespace tavrix::win32 {

inline constexpr wchar_t kPreviewWindowClass[] = L"TavrixVistaPrevia";

// The children's identifiers, for the tests that work the window from outside.
enum PreviewChild : int {
    kPreviewStage = 100,
    kPreviewTimeline,
    kPreviewPlay,
    kPreviewBack,
    kPreviewForward,
    kPreviewScaleLabel,
    kPreviewScale,
    kPreviewStatus,
    kPreviewPlaceholder,
};

class PreviewWindow {
  public:
    // Opens beside `owner`; none when the system refused.
    static std::unique_ptr<PreviewWindow> open(HWND owner, HINSTANCE instance, const Form1& form,
                                               OpenSprites open_sprites);
    PreviewWindow(const Form1& form, OpenSprites open_sprites);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // False once the person closed it.
    bool is_open() const { return window_ != nullptr; }
    void bring_forward() const;

    // Draws the tick the clock shows, as the form stands, and what it shows under it.
    void redraw();

    // Space, Left and Right anywhere in the window, and Tab between its controls; true
    // when the message was handled.
    bool preprocess(MSG& message);

  private:
    template <typename Owner>
    friend LRESULT CALLBACK owned_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK stage_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    bool create_stage_bitmap();
    void create_children(HINSTANCE instance);
    void lay_out(int dpi);
    void keep_on_screen() const;
    void paint_stage(HWND stage) const;
    void set_scale(int factor);
    bool press(WPARAM key);
    void on_timeline(int code);

    HWND child(PreviewChild id) const { return GetDlgItem(window_, id); }

    Preview preview_;
    HWND window_ = nullptr;
    // The stage as the screen takes it: a top-down 32-bit DIB of the stage's size.
    HBITMAP bitmap_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    HDC bitmap_dc_ = nullptr;
    Font font_;
    int dpi_ = kDefaultDpi;
    int scale_;
    bool timer_running_ = false;
    bool dragging_ = false;  // the person holds the trackbar's thumb
};

}  // namespace tavrix::win32
