#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "model/field_text.h"
#include "model/names.h"
#include "stage/archive_sprites.h"
#include "system/platform.h"
#include "system/text_win32.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/findings_window.h"
#include "ui/win32/layout.h"
#include "ui/win32/menu_bar.h"
#include "ui/win32/message_box.h"
#include "ui/win32/session_files.h"
#include "ui/win32/window_class.h"

namespace tavrix::win32 {
namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr auto kProgressDelay = std::chrono::milliseconds(500);

// Posted to itself so that a run's failure or warning is told after the click returns.
constexpr UINT kReportRun = WM_APP + 1;

constexpr UINT_PTR kRecoveryTimer = 1;
constexpr UINT kRecoveryDelayMs = 2000;  // after the last change

std::uint8_t bit(Property property) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(property));
}

struct ChildClass {
    const wchar_t* name;
    DWORD style;
    DWORD ex_style;
};

ChildClass child_class(Kind kind) {
    constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
    // Each control that takes focus starts its own group, so that the arrow keys never
    // move the focus: only Tab does, in focus order.
    constexpr DWORD kFocusable = kChild | WS_TABSTOP | WS_GROUP;
    switch (kind) {
        case Kind::Label:
            return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
        case Kind::TextBox:
            return {L"EDIT", kFocusable | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case Kind::CheckBox:
            return {L"BUTTON", kFocusable | BS_CHECKBOX, 0};
        case Kind::Button:
            return {L"BUTTON", kFocusable | BS_PUSHBUTTON, 0};
        case Kind::Frame:
            return {L"BUTTON", kChild | BS_GROUPBOX, 0};
    }
    return {L"STATIC", kChild, 0};
}

std::wstring window_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// A label breaks its lines at CR LF; the model's captions may hold a lone CR or LF.
std::string with_crlf_breaks(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::optional<ControlId> control_from_identifier(int identifier) {
    const int index = identifier - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(kControlCount))
        return std::nullopt;
    return control_table()[static_cast<std::size_t>(index)].id;
}

bool style_has(HWND window, LONG_PTR flag) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & flag) != 0;
}

// A check box too narrow for its caption (those on group titles) has nowhere to draw the
// dotted focus mark the system puts around the caption; it gets one around the box instead.
bool shows_no_caption(const ControlDef& def) {
    constexpr int kBoxAlone = 255;  // twips
    return def.kind == Kind::CheckBox && def.place.width <= kBoxAlone;
}

LRESULT CALLBACK mark_focus(HWND box, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    const LRESULT result = DefSubclassProc(box, message, w, l);
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(box, nullptr, TRUE);
            break;
        case WM_PAINT:
            if (GetFocus() == box) {
                RECT area{};
                GetClientRect(box, &area);
                HDC dc = GetDC(box);
                DrawFocusRect(dc, &area);
                ReleaseDC(box, dc);
            }
            break;
        default:
            break;
    }
    return result;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), form_(system_platform()) {
    form_.set_observer([this](ControlId id, Property property) { mark(id, property); });
    form_.set_progress_hook([this](const RunProgress& progress) { return on_progress(progress); });
}

bool MainWindow::open(int show_command) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = owned_procedure<MainWindow>;
    window_class.hInstance = instance_;
    window_class.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));        // the program's own
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&window_class))
        return false;
    const std::wstring caption = widen(window_def().caption);
    window_ = CreateWindowExW(0, kMainWindowClass, caption.c_str(), kMainStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              create_menu_bar(), instance_, this);
    if (!window_)
        return false;
    accelerators_ = create_accelerators();
    create_controls();
    create_tooltips();
    apply_dpi(window_dpi(window_));
    dirty_.fill(0xFF);  // everything, since the model's start-up ran before we watched it
    apply_changes();
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
    focus_first();
    return true;
}

void MainWindow::start(const std::optional<std::string>& session_file) {
    recovery_copy_ = own_recovery_copy();
    for (const RecoveryCopy& copy : orphaned_copies()) {
        if (flow_.offer_recovery(narrow(copy.path), narrow(copy.written)))
            break;
    }
    if (session_file)
        (void)flow_.open_file(*session_file);
}

bool MainWindow::preprocess(MSG& message) {
    if (!window_)
        return false;
    if (TranslateAcceleratorW(window_, accelerators_, &message))
        return true;
    if (preview_ && preview_->preprocess(message))
        return true;
    const bool handled = IsDialogMessageW(window_, &message) != FALSE;
    // A key may have moved the focus (Tab, an arrow) to a control scrolled out of sight.
    if (handled && message.message == WM_KEYDOWN) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus))
            scrolling_.reveal(window_, focus);
    }
    return handled;
}

void MainWindow::create_controls() {
    for (ControlId id : creation_order()) {
        const ControlDef& def = control_def(id);
        const ChildClass kind = child_class(def.kind);
        const std::wstring text = widen(def.text);
        const auto identifier = static_cast<INT_PTR>(control_id(id));
        children_[index_of(id)] =
            CreateWindowExW(kind.ex_style, kind.name, text.c_str(), kind.style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(identifier), instance_, nullptr);
        if (def.kind == Kind::TextBox)
            SendMessageW(child(id), EM_SETLIMITTEXT, kFieldTextLimit,
                         0);  // not its own, far smaller
        if (def.initially.read_only)
            SendMessageW(child(id), EM_SETREADONLY, TRUE, 0);
        if (shows_no_caption(def))
            SetWindowSubclass(child(id), mark_focus, 0, 0);
    }
    name_controls();
}

void MainWindow::name_controls() {
    AccessibleNames names;
    for (const ControlDef& def : control_table()) {
        if (const std::string name = control_name(def.id); !name.empty())
            (void)names.name(child(def.id), widen(name));  // without the service, as before
    }
}

void MainWindow::create_tooltips() {
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (!tooltip_)
        return;
    for (const ControlDef& def : control_table()) {
        if (def.tooltip.empty())
            continue;
        std::wstring text = widen(def.tooltip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(child(def.id));
        tool.lpszText = text.data();  // copied by the tooltip control
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MainWindow::apply_dpi(int dpi) {
    dpi_ = dpi;
    font_ = dialog_font(dpi);
    for (const ControlDef& def : control_table()) {
        const PixelRect place = to_pixels(place_on_window(def), dpi);
        SetWindowPos(child(def.id), nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child(def.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
    apply_regions();
    const WindowDef& form = window_def();
    const PixelRect client = to_pixels(Twips{0, 0, form.client_width, form.client_height}, dpi);
    scrolling_.fit(window_, SIZE{client.width, client.height}, kMainStyle, dpi);
}

void MainWindow::focus_first() {
    for (ControlId id : focus_order()) {
        if (IsWindowEnabled(child(id)) && style_has(child(id), WS_VISIBLE)) {
            SetFocus(child(id));
            return;
        }
    }
}

LRESULT MainWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (l != 0)
                on_command(LOWORD(w), HIWORD(w));
            else
                on_menu(LOWORD(w));  // a menu item or its accelerator
            return 0;
        case WM_TIMER:
            if (w == kRecoveryTimer) {
                KillTimer(window_, kRecoveryTimer);
                write_recovery_copy();
            }
            return 0;
        case WM_ACTIVATE:
            if (on_activate(LOWORD(w) != WA_INACTIVE))
                return 0;
            break;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            apply_dpi(HIWORD(w));
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            scrolling_.handle(window_, message, w);
            return 0;
        case WM_NEXTDLGCTL:
            // The dialog keyboard handling may ask this of any window that holds controls.
            move_focus(LOWORD(l) ? reinterpret_cast<HWND>(w)
                                 : GetNextDlgTabItem(window_, GetFocus(), w != 0));
            return 0;
        case kReportRun:
            report_run();
            return 0;
        case WM_CLOSE:
            if (generating_) {
                close_after_run_ = true;  // the run is cancelled, then the window closes
                return 0;
            }
            if (!flow_.settle_unsaved())
                return 0;
            remove_recovery_copy();
            break;
        case WM_DESTROY:
            DestroyAcceleratorTable(accelerators_);
            accelerators_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

bool MainWindow::on_activate(bool active) {
    // Give the focus back to the control that had it, as a dialog does.
    if (!active) {
        last_focus_ = GetFocus();
        return false;
    }
    if (!last_focus_ || !IsChild(window_, last_focus_))
        return false;
    move_focus(last_focus_);
    return true;
}

void MainWindow::move_focus(HWND control) {
    if (control)
        SetFocus(control);
}

void MainWindow::on_command(int identifier, int code) {
    if (applying_)
        return;
    const std::optional<ControlId> id = control_from_identifier(identifier);
    if (!id)
        return;
    const Kind kind = control_def(*id).kind;
    if (kind == Kind::TextBox && code == EN_CHANGE) {
        on_text_changed(*id);
    } else if ((kind == Kind::CheckBox || kind == Kind::Button) && code == BN_CLICKED) {
        on_clicked(*id);
    }
}

void MainWindow::on_menu(int identifier) {
    const std::optional<MenuCommand> command = menu_command(identifier);
    if (generating_ || !command)
        return;
    switch (*command) {
        case MenuCommand::OpenSession:
            flow_.open_session();
            break;
        case MenuCommand::SaveSession:
            (void)flow_.save();
            break;
        case MenuCommand::SaveSessionAs:
            (void)flow_.save_as();
            break;
        case MenuCommand::Generate:
            on_clicked(kGenerateButton);
            break;
        case MenuCommand::ExportStoryboard:
            export_storyboard();
            break;
        case MenuCommand::ImportStoryboard:
            flow_.import_storyboard();
            break;
        case MenuCommand::Quit:
            PostMessageW(window_, WM_CLOSE, 0, 0);
            break;
        case MenuCommand::Check:
            show_findings(window_, instance_, form_.check());
            break;
        case MenuCommand::Preview:
            show_preview();
            break;
        case MenuCommand::EngineReady:
            form_.set_engine_ready(!form_.engine_ready());
            show_checked(GetMenu(window_), MenuCommand::EngineReady, form_.engine_ready());
            on_edited();
            break;
    }
}

void MainWindow::on_text_changed(ControlId id) {
    // While a run holds the model, an edit arriving through another program's message is
    // undone: the run reads the fields as they stood when it started.
    if (generating_ || form_.type_text(id, narrow(window_text(child(id)))) != ActionStatus::Done)
        mark(id, Property::Text);
    typing_in_ = child(id);
    apply_changes();
    typing_in_ = nullptr;
    on_edited();
}

void MainWindow::on_clicked(ControlId id) {
    if (generating_)
        return;
    if (id == kGenerateButton) {
        generate();
        return;
    }
    if (form_.click(id) != ActionStatus::Done)
        mark(id, Property::Value);  // refused: show the value the model holds
    apply_changes();
    on_edited();
}

void MainWindow::generate() {
    // A very long run is asked about first; "No" leaves everything as it was.
    if (const std::optional<std::string> question = form_.long_run_question();
        question && !confirmed(window_, *question))
        return;
    start_run(generate_caption());
    // A refused press changes nothing and tells nothing.
    const bool pressed = form_.click(kGenerateButton) == ActionStatus::Done;
    finish_run(pressed ? run_notice(*form_.last_run()) : std::nullopt);
}

// Shown as "Generar!" shows its run, though it changes nothing on the form.
void MainWindow::export_storyboard() {
    if (const std::optional<std::string> question = form_.long_export_question();
        question && !confirmed(window_, *question))
        return;
    start_run(kExportCaption);
    const RunResult run = form_.export_storyboard();
    finish_run(export_notice(run, form_.path()));
}

void MainWindow::start_run(std::string_view title) {
    generating_ = true;
    run_title_ = title;
    run_started_ = std::chrono::steady_clock::now();
}

void MainWindow::finish_run(std::optional<Notice> notice) {
    progress_.reset();
    generating_ = false;
    apply_changes();
    on_edited();
    if (close_after_run_) {
        DestroyWindow(window_);
        return;
    }
    report_ = std::move(notice);
    PostMessageW(window_, kReportRun, 0, 0);
}

bool MainWindow::on_progress(const RunProgress& progress) {
    if (!progress_) {
        if (std::chrono::steady_clock::now() - run_started_ < kProgressDelay)
            return true;
        progress_ = ProgressWindow::open(window_, instance_, run_title_);
        if (!progress_)
            return true;
    }
    progress_->show_progress(progress.frames, progress.bytes);
    return progress_->pump() && !close_after_run_;
}

void MainWindow::report_run() {
    if (const std::optional<Notice> notice = std::exchange(report_, std::nullopt))
        show_message(window_, notice->kind, notice->text);
}

void MainWindow::mark(ControlId id, Property property) {
    dirty_[index_of(id)] |= bit(property);
}

void MainWindow::apply_changes() {
    applying_ = true;
    bool flags = false;
    for (const ControlDef& def : control_table()) {
        const std::uint8_t dirty = std::exchange(dirty_[index_of(def.id)], 0);
        if (dirty & (bit(Property::Text) | bit(Property::Caption)))
            apply_text(def.id);
        if ((dirty & bit(Property::Value)) && def.kind == Kind::CheckBox) {
            const WPARAM state = form_.window().value(def.id) == 1 ? BST_CHECKED : BST_UNCHECKED;
            SendMessageW(child(def.id), BM_SETCHECK, state, 0);
        }
        flags = flags || (dirty & (bit(Property::Enabled) | bit(Property::Visible)));
    }
    if (flags)
        apply_flags();
    applying_ = false;
}

void MainWindow::apply_text(ControlId id) {
    const Window& model = form_.window();
    const ControlDef& def = control_def(id);
    const std::string& text = def.kind == Kind::TextBox ? model.text(id) : model.caption(id);
    const std::wstring shown = widen(def.kind == Kind::Label ? with_crlf_breaks(text) : text);
    HWND control = child(id);
    // Assigning the text a box already shows would move its caret for nothing.
    if (window_text(control) == shown)
        return;
    SetWindowTextW(control, shown.c_str());
    // A rule replaced what the person is typing: the new text is selected, so that the next
    // key replaces it, with the caret at its first character, so that it shows from there.
    // A box the program fills shows from its first character anyway.
    if (control == typing_in_) {
        SendMessageW(control, EM_SETSEL, shown.size(), 0);
        SendMessageW(control, EM_SCROLLCARET, 0, 0);
    }
}

void MainWindow::apply_flags() {
    const Window& model = form_.window();
    const HWND focus = GetFocus();
    bool shown_changed = false;
    for (const ControlDef& def : control_table()) {
        HWND control = child(def.id);
        const bool enabled = model.enabled_on_screen(def.id);
        const bool visible = model.visible_on_screen(def.id);
        if ((IsWindowEnabled(control) != FALSE) != enabled)
            EnableWindow(control, enabled);
        if (style_has(control, WS_VISIBLE) != visible) {
            ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
            shown_changed = true;
        }
    }
    if (shown_changed)
        apply_regions();
    // A control that lost its focus by being disabled or hidden hands it on in focus order.
    if (focus && IsChild(window_, focus) &&
        (!IsWindowEnabled(focus) || !style_has(focus, WS_VISIBLE))) {
        if (HWND next = GetNextDlgTabItem(window_, focus, FALSE))
            SetFocus(next);
    }
}

void MainWindow::apply_regions() {
    for (const ControlDef& def : control_table()) {
        const PixelRect own = to_pixels(place_on_window(def), dpi_);
        HRGN region = nullptr;
        for (ControlId above : covering(def.id)) {
            if (!style_has(child(above), WS_VISIBLE))
                continue;
            if (!region)
                region = CreateRectRgn(0, 0, own.width, own.height);
            const PixelRect cover = to_pixels(place_on_window(control_def(above)), dpi_);
            const int left = cover.left - own.left;
            const int top = cover.top - own.top;
            HRGN cut = CreateRectRgn(left, top, left + cover.width, top + cover.height);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        SetWindowRgn(child(def.id), region, TRUE);  // the window owns the region from now on
    }
}

// After a session is opened: every control and the option's check item show what it holds.
void MainWindow::show_opened_session() {
    apply_changes();
    if (preview_)
        preview_->redraw();
    show_checked(GetMenu(window_), MenuCommand::EngineReady, form_.engine_ready());
}

void MainWindow::show_not_taken(const std::vector<std::string>& lines) {
    win32::show_not_taken(window_, instance_, lines);
}

std::optional<std::string> MainWindow::choose_file(FileChoice kind, const std::string& current) {
    const auto path = choose_session_file(window_, kind, widen(current));
    if (!path)
        return std::nullopt;
    return narrow(*path);
}

UnsavedAnswer MainWindow::ask_unsaved(const SessionQuestion& question) {
    switch (win32::ask(window_,
                       {widen(question.text), widen(question.yes), widen(question.no), true})) {
        case IDYES:
            return UnsavedAnswer::Save;
        case IDNO:
            return UnsavedAnswer::Discard;
        default:
            return UnsavedAnswer::Stay;
    }
}

bool MainWindow::ask(const SessionQuestion& question) {
    return win32::ask(window_, {widen(question.text), widen(question.yes), widen(question.no),
                                false}) == IDYES;
}

void MainWindow::show_failure(const std::string& message) {
    show_message(window_, MessageKind::Failure, message);
}

void MainWindow::show_preview() {
    if (preview_ && preview_->is_open()) {
        preview_->bring_forward();
        return;
    }
    preview_ = PreviewWindow::open(window_, instance_, form_,
                                   archive_sprites_opener(system_platform().file_exists));
}

void MainWindow::on_edited() {
    if (preview_)
        preview_->redraw();  // the stage follows every edit at once, playing or not
    refresh_title();
    if (document_.unsaved())
        SetTimer(window_, kRecoveryTimer, kRecoveryDelayMs, nullptr);  // again from now
    else
        remove_recovery_copy();
}

// "*" before the name while there are unsaved changes, as Windows programs show it.
void MainWindow::refresh_title() {
    const std::wstring caption = widen(window_def().caption);
    const std::wstring path = widen(document_.path());
    std::wstring title = caption;
    if (!path.empty())
        title = path.substr(path.find_last_of(L"\\/") + 1) + L" - " + caption;
    if (document_.unsaved())
        title.insert(0, L"*");
    SetWindowTextW(window_, title.c_str());
}

// A copy that cannot be written now is written at the next change; the person's own saves
// report their failures.
void MainWindow::write_recovery_copy() {
    if (!recovery_copy_.empty() && document_.unsaved())
        (void)document_.write_copy(narrow(recovery_copy_));
}

// The copy a pending change would write is not written either.
void MainWindow::remove_recovery_copy() {
    KillTimer(window_, kRecoveryTimer);
    if (!recovery_copy_.empty())
        DeleteFileW(recovery_copy_.c_str());
}

void MainWindow::remove_file(const std::string& path) {
    DeleteFileW(widen(path).c_str());
}

}  // namespace tavrix::win32
