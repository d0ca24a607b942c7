#include "ui/win32/preview_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "app/preview_view.h"
#include "system/text_win32.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/window_class.h"

namespace tavrix::win32 {
namespace {

constexpr wchar_t kStageClass[] = L"TavrixEscenario";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT_PTR kRedrawTimer = 1;

// The layout, in pixels at 96 dots per inch; the stage itself is in the screen's pixels.
constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kTimelineHeight = 30;
constexpr int kRowHeight = 24;
constexpr int kLineHeight = 16;
constexpr int kPlayWidth = 80;
constexpr int kStepWidth = 90;
constexpr int kScaleLabelWidth = 40;
constexpr int kScaleWidth = 56;
constexpr int kScaleListHeight = 120;
constexpr int kRowWidth =
    kPlayWidth + 2 * (kGap + kStepWidth) + 2 * kGap + kScaleLabelWidth + kGap / 2 + kScaleWidth;

std::wstring text_of(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        std::max(0, GetWindowTextW(window, text.data(), static_cast<int>(text.size())))));
    return text;
}

// Only a text that differs is set, so that a redraw at every tick does not flicker.
void show_text(HWND window, std::string_view text) {
    const std::wstring wanted = widen(text);
    if (text_of(window) != wanted)
        SetWindowTextW(window, wanted.c_str());
}

void place(HWND window, int left, int top, int width, int height) {
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool key_down(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

PreviewWindow::PreviewWindow(const Form1& form, OpenSprites open_sprites)
    : preview_(form, std::move(open_sprites)), scale_(kDefaultScale) {}

std::unique_ptr<PreviewWindow> PreviewWindow::open(HWND owner, HINSTANCE instance,
                                                   const Form1& form, OpenSprites open_sprites) {
    register_dialog_class(instance, owned_procedure<PreviewWindow>, kPreviewWindowClass);
    register_dialog_class(instance, stage_procedure, kStageClass);
    auto preview = std::make_unique<PreviewWindow>(form, std::move(open_sprites));
    if (!preview->create_stage_bitmap())
        return nullptr;
    RECT beside{};
    GetWindowRect(owner, &beside);
    const std::wstring title = widen(kPreviewTitle);
    CreateWindowExW(0, kPreviewWindowClass, title.c_str(), kStyle,
                    beside.right + scaled(kMargin, window_dpi(owner)), beside.top, 0, 0, owner,
                    nullptr, instance, preview.get());
    if (!preview->window_)
        return nullptr;
    const auto icon = reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(1)));
    SendMessageW(preview->window_, WM_SETICON, ICON_BIG, icon);  // the program's own
    SendMessageW(preview->window_, WM_SETICON, ICON_SMALL, icon);
    preview->create_children(instance);
    preview->lay_out(window_dpi(preview->window_));
    preview->keep_on_screen();
    preview->redraw();
    ShowWindow(preview->window_, SW_SHOW);
    return preview;
}

PreviewWindow::~PreviewWindow() {
    if (window_)
        DestroyWindow(window_);
    if (bitmap_dc_)
        DeleteDC(bitmap_dc_);
    if (bitmap_)
        DeleteObject(bitmap_);
}

bool PreviewWindow::create_stage_bitmap() {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = kStageWidth;
    format.bmiHeader.biHeight = -kStageHeight;  // rows from the top, as the stage's
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    bitmap_dc_ = CreateCompatibleDC(nullptr);
    if (!bitmap_ || !bitmap_dc_)
        return false;
    bits_ = static_cast<std::uint8_t*>(bits);
    SelectObject(bitmap_dc_, bitmap_);
    return true;
}

void PreviewWindow::create_children(HINSTANCE instance) {
    const auto make = [this, instance](const wchar_t* kind, PreviewChild id, DWORD style,
                                       std::string_view text = {}) {
        const std::wstring caption = widen(text);
        return CreateWindowExW(0, kind, caption.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                               window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                               nullptr);
    };
    make(kStageClass, kPreviewStage, 0);
    HWND timeline = make(TRACKBAR_CLASSW, kPreviewTimeline, WS_TABSTOP | TBS_HORZ | TBS_NOTICKS);
    make(L"BUTTON", kPreviewPlay, WS_TABSTOP | BS_PUSHBUTTON, play_caption(false));
    make(L"BUTTON", kPreviewBack, WS_TABSTOP | BS_PUSHBUTTON, kStepBackCaption);
    make(L"BUTTON", kPreviewForward, WS_TABSTOP | BS_PUSHBUTTON, kStepForwardCaption);
    make(L"STATIC", kPreviewScaleLabel, SS_RIGHT | SS_CENTERIMAGE, kScaleCaption);
    HWND scale = make(WC_COMBOBOXW, kPreviewScale, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    make(L"STATIC", kPreviewStatus, SS_LEFT | SS_NOPREFIX);
    make(L"STATIC", kPreviewPlaceholder, SS_LEFT | SS_NOPREFIX);
    for (int factor = kSmallestScale; factor <= kLargestScale; ++factor) {
        const std::wstring caption = widen(scale_caption(factor));
        SendMessageW(scale, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    }
    SendMessageW(scale, CB_SETCURSEL, static_cast<WPARAM>(scale_ - kSmallestScale), 0);
    AccessibleNames names;
    (void)names.name(timeline, widen(kTimelineName));
    SetFocus(child(kPreviewPlay));
}

void PreviewWindow::lay_out(int dpi) {
    dpi_ = dpi;
    font_ = dialog_font(dpi);
    const auto s = [dpi](int pixels) { return scaled(pixels, dpi); };
    const int stage_width = kStageWidth * scale_;
    const int stage_height = kStageHeight * scale_;
    const int width = std::max(stage_width, s(kRowWidth));
    const int left = s(kMargin);
    int top = s(kMargin);
    place(child(kPreviewStage), left + (width - stage_width) / 2, top, stage_width, stage_height);
    top += stage_height + s(kGap);
    place(child(kPreviewTimeline), left, top, width, s(kTimelineHeight));
    top += s(kTimelineHeight) + s(kGap);
    int x = left;
    for (const auto& [id, button_width] : {std::pair{kPreviewPlay, kPlayWidth},
                                           {kPreviewBack, kStepWidth},
                                           {kPreviewForward, kStepWidth}}) {
        place(child(id), x, top, s(button_width), s(kRowHeight));
        x += s(button_width + kGap);
    }
    const int scale_left = left + width - s(kScaleWidth);
    place(child(kPreviewScale), scale_left, top, s(kScaleWidth), s(kRowHeight + kScaleListHeight));
    place(child(kPreviewScaleLabel), scale_left - s(kScaleLabelWidth + kGap / 2), top,
          s(kScaleLabelWidth), s(kRowHeight));
    top += s(kRowHeight) + s(kGap);
    place(child(kPreviewStatus), left, top, width, s(kLineHeight));
    top += s(kLineHeight);
    // Two lines: the reason may name a long path.
    place(child(kPreviewPlaceholder), left, top, width, 2 * s(kLineHeight));
    top += 2 * s(kLineHeight) + s(kMargin);
    for (HWND control = GetWindow(window_, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    const SIZE outer = outer_size(SIZE{width + 2 * left, top}, kStyle, 0, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Beside the editor when the screen has room there, else as far right as it fits.
void PreviewWindow::keep_on_screen() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT frame{};
    GetWindowRect(window_, &frame);
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& room = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::max(room.left, std::min(frame.left, room.right - width));
    const int top = std::max(room.top, std::min(frame.top, room.bottom - height));
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::bring_forward() const {
    ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
}

void PreviewWindow::redraw() {
    if (!window_)
        return;
    GdiFlush();  // the screen may still be reading the last stage
    const PreviewStatus status = preview_.draw(StagePixels(bits_, kStageBytes));
    // The DIB holds blue, green, red in each pixel's first three bytes.
    for (std::size_t i = 0; i < kStageBytes; i += 4)
        std::swap(bits_[i], bits_[i + 2]);
    InvalidateRect(child(kPreviewStage), nullptr, FALSE);
    HWND timeline = child(kPreviewTimeline);
    SendMessageW(timeline, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(timeline, TBM_SETRANGEMAX, TRUE, timeline_value(status.end_time));
    if (!dragging_)  // the thumb stays under the person's pointer
        SendMessageW(timeline, TBM_SETPOS, TRUE, timeline_value(status.tick));
    show_text(child(kPreviewPlay), play_caption(status.playing));
    show_text(child(kPreviewStatus), status_line(status));
    show_text(child(kPreviewPlaceholder), status.placeholder);
    if (status.playing != timer_running_) {
        if (status.playing)
            SetTimer(window_, kRedrawTimer, kRedrawMilliseconds, nullptr);
        else
            KillTimer(window_, kRedrawTimer);
        timer_running_ = status.playing;
    }
}

bool PreviewWindow::preprocess(MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
    const bool plain = !key_down(VK_CONTROL) && !key_down(VK_MENU) && !key_down(VK_SHIFT);
    if (key && plain &&
        (message.wParam == VK_SPACE || message.wParam == VK_LEFT || message.wParam == VK_RIGHT)) {
        // Taken from whatever control has the focus: a button would press itself on Space,
        // the trackbar and the list of scales would move on the arrows.
        if (message.message == WM_KEYDOWN)
            (void)press(message.wParam);
        return true;
    }
    if (message.message == WM_CHAR && message.wParam == L' ' && plain)
        return true;
    return IsDialogMessageW(window_, &message) != FALSE;
}

bool PreviewWindow::press(WPARAM key) {
    switch (key) {
        case VK_SPACE:
            preview_.toggle();
            break;
        case VK_LEFT:
            preview_.step(-1);
            break;
        case VK_RIGHT:
            preview_.step(1);
            break;
        default:
            return false;
    }
    redraw();
    return true;
}

void PreviewWindow::set_scale(int factor) {
    scale_ = std::clamp(factor, kSmallestScale, kLargestScale);
    lay_out(dpi_);
    InvalidateRect(window_, nullptr, TRUE);
}

void PreviewWindow::on_timeline(int code) {
    dragging_ = code == TB_THUMBTRACK;
    if (code == TB_ENDTRACK)
        return;  // the move before it has sought already
    preview_.seek(SendMessageW(child(kPreviewTimeline), TBM_GETPOS, 0, 0));
    redraw();
}

void PreviewWindow::paint_stage(HWND stage) const {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(stage, &paint);
    SetStretchBltMode(dc, COLORONCOLOR);  // the nearest pixel, never a blend
    StretchBlt(dc, 0, 0, kStageWidth * scale_, kStageHeight * scale_, bitmap_dc_, 0, 0, kStageWidth,
               kStageHeight, SRCCOPY);
    EndPaint(stage, &paint);
}

LRESULT CALLBACK PreviewWindow::stage_procedure(HWND stage, UINT message, WPARAM w, LPARAM l) {
    const auto* self =
        reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(GetParent(stage), GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the stage covers it all
        case WM_PAINT:
            if (self) {
                self->paint_stage(stage);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(stage, message, w, l);
}

LRESULT PreviewWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_TIMER:
            if (w == kRedrawTimer)
                redraw();
            return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(l) == child(kPreviewTimeline))
                on_timeline(LOWORD(w));
            return 0;
        case WM_COMMAND:
            switch (LOWORD(w)) {
                case kPreviewPlay:
                    (void)press(VK_SPACE);
                    break;
                case kPreviewBack:
                    (void)press(VK_LEFT);
                    break;
                case kPreviewForward:
                    (void)press(VK_RIGHT);
                    break;
                case kPreviewScale:
                    if (HIWORD(w) == CBN_SELCHANGE)
                        set_scale(kSmallestScale + static_cast<int>(SendMessageW(
                                                       child(kPreviewScale), CB_GETCURSEL, 0, 0)));
                    break;
                case IDCANCEL:  // Esc
                    DestroyWindow(window_);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            lay_out(HIWORD(w));
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kRedrawTimer);
            timer_running_ = false;
            preview_.pause();
            return 0;
        default:
            return DefWindowProcW(window_, message, w, l);
    }
}

}  // namespace tavrix::win32
