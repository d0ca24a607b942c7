// Starts tavrix.exe (found beside this program) in the current folder and works its window
// from outside with window messages, as a person would: text into fields, clicks on boxes
// and buttons, Tab, "Generar!", the failure message and "Cancelar". The child windows are
// found by their control identifiers, kFirstControlId plus the index in the control table.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>  // for sleep_for; the reader thread is a system one
#include <vector>

#include "check.h"
#include "system/file_output.h"
#include "system/text_win32.h"
#include "ui/win32/dpi.h"
#include "ui/win32/layout.h"

namespace tavrix::win32 {
namespace {

using testing::read_file;

using testing::Checks;
using namespace std::chrono_literals;

// Waits up to `limit` for `condition`, looking every 20 ms.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::wstring folder_of_this_program() {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::string text_of(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return narrow(text);
}

bool temporary_files_left() {
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileW(L".tavrix-*", &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

struct Search {
    DWORD process;
    std::wstring class_name;
    HWND owner;
    bool visible;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM l) {
    auto* search = reinterpret_cast<Search*>(l);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (process == search->process && search->class_name == name &&
        (!search->visible || IsWindowVisible(window)) &&
        (!search->owner || GetWindow(window, GW_OWNER) == search->owner)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of the program with the given class, or none.
HWND find_window(DWORD process, const std::wstring& class_name, HWND owner = nullptr,
                 bool visible = true) {
    Search search{process, class_name, owner, visible, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The editor under test, closed at the end however the test went.
class Editor {
  public:
    bool start() {
        const std::wstring program = folder_of_this_program() + L"tavrix.exe";
        std::wstring command = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_))
            return false;
        eventually([&] { return (main_ = find_window(process_.dwProcessId, kMainWindowClass)); },
                   std::chrono::seconds(30));
        return main_ != nullptr;
    }

    ~Editor() {
        if (!process_.hProcess)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    // Asks the window to close, as its close box does, and returns the exit status.
    DWORD close() {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0)
            return 99;
        DWORD status = 99;
        GetExitCodeProcess(process_.hProcess, &status);
        return status;
    }

    HWND main() const { return main_; }
    DWORD process_id() const { return process_.dwProcessId; }
    HWND operator[](ControlId id) const { return GetDlgItem(main_, control_id(id)); }

    std::string text(ControlId id) const { return text_of((*this)[id]); }
    bool checked(ControlId id) const {
        return SendMessageW((*this)[id], BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info.hwndFocus;
    }

    // Pastes a whole text at once, as WM_SETTEXT does.
    void paste(ControlId id, const std::wstring& text) const {
        SendMessageW((*this)[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Selects all the field holds and types the characters one by one.
    void type(ControlId id, const std::wstring& text) const {
        SendMessageW((*this)[id], EM_SETSEL, 0, -1);
        for (wchar_t c : text)
            SendMessageW((*this)[id], WM_CHAR, c, 1);
    }
    void click(ControlId id) const { SendMessageW((*this)[id], BM_CLICK, 0, 0); }

  private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

std::string name_of(ControlId id) {
    return std::string(control_def(id).name);
}

// The name of the control a child window stands for, from its identifier.
std::string name_of_window(HWND window) {
    const int index = GetDlgCtrlID(window) - kFirstControlId;
    if (!window || index < 0 || index >= static_cast<int>(kControlCount))
        return "no control";
    return std::string(control_table()[static_cast<std::size_t>(index)].name);
}

std::string describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

void window_matches_the_table(Checks& checks, const Editor& editor, int expected_dpi) {
    checks.expect_equal(text_of(editor.main()), "Tavrix v2.0 -= BETA =-", "título");
    const int dpi = window_dpi(editor.main());
    if (expected_dpi > 0)
        checks.expect(dpi == expected_dpi,
                      "the screen has " + std::to_string(expected_dpi) + " dpi",
                      std::to_string(dpi));
    const WindowDef& form = window_def();
    const PixelRect client = to_pixels(Twips{0, 0, form.client_width, form.client_height}, dpi);
    RECT area{};
    GetClientRect(editor.main(), &area);
    checks.expect(area.right == client.width && area.bottom == client.height,
                  "a client area of 9450 × 8625 twips at " + std::to_string(dpi) + " dpi",
                  describe(area));
    for (const ControlDef& def : control_table()) {
        HWND control = editor[def.id];
        if (!checks.expect(control != nullptr, name_of(def.id) + " existe"))
            continue;
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, editor.main(), reinterpret_cast<POINT*>(&place), 2);
        const PixelRect wanted = to_pixels(place_on_window(def), dpi);
        checks.expect(place.left == wanted.left && place.top == wanted.top &&
                          place.right - place.left == wanted.width &&
                          place.bottom - place.top == wanted.height,
                      name_of(def.id) + " in its place", describe(place));
        bool enabled = true;
        bool visible = true;
        for (std::optional<ControlId> at = def.id; at; at = control_def(*at).container) {
            enabled = enabled && control_def(*at).initially.enabled;
            visible = visible && control_def(*at).initially.visible;
        }
        checks.expect((IsWindowEnabled(control) != FALSE) == enabled,
                      name_of(def.id) + (enabled ? " habilitado" : " deshabilitado"));
        checks.expect((IsWindowVisible(control) != FALSE) == visible,
                      name_of(def.id) + (visible ? " visible" : " oculto"));
        if (def.id != ControlId::Label9)
            checks.expect_equal(editor.text(def.id), def.text, name_of(def.id) + " at start-up");
    }
    checks.expect(editor.checked(ControlId::Check5), "Check5 ticked at start-up");
    checks.expect(!editor.checked(ControlId::Check6), "Check6 clear at start-up");
    const std::string credits = editor.text(ControlId::Label9);
    checks.expect(
        credits.find("\r\n") != std::string::npos && credits.find("\r\n") != credits.rfind("\r\n"),
        "Label9 on three lines", credits);
    std::size_t with_tooltip = 0;
    for (const ControlDef& def : control_table())
        with_tooltip += def.tooltip.empty() ? 0 : 1;
    const HWND tips = find_window(editor.process_id(), TOOLTIPS_CLASSW, editor.main(), false);
    checks.expect(tips && static_cast<std::size_t>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0)) ==
                              with_tooltip,
                  "a tooltip for each control that has one");
}

// The typical use: the fade ticked, 30 ticks in, image 0 to 3, speed 5, red 7.
const char kTypicalFile[] =
    "[SceneDef]\r\nspr = intro.sff\r\n\r\n;------------------------------------\r\n"
    "[Scene 0]\r\n;Fade\r\nfadein.time = 30\r\nfadein.col = 0,0,0\r\nfadeout.time = \r\n"
    "fadeout.col = 0,0,0\r\n\r\n; Screen Color\r\nclearcolor = 7,0,0\r\n\r\n"
    "; Overlay Anims (from 0 to 9)\r\nlayerall.pos = 0,0\r\nlayer0.anim = 0\r\n"
    "layer0.offset = 0,0\r\nlayer0.starttime = 0\r\n\r\n[Begin action 0]\r\n"
    "0,0, 0,0, 5\r\n0,1, 0,0, 5\r\n0,2, 0,0, 5\r\n0,3, 0,0, 5\r\n \r\n"
    "; Tiempo =  0.333333333333333\r\n; Tics =  20\r\n";

const wchar_t kFileName[] = L"intro \u00f1and\u00fa.def";  // typed as it stands

void typing_and_generating(Checks& checks, const Editor& editor) {
    using C = ControlId;
    editor.paste(C::Text11, kFileName);
    editor.click(C::Check6);
    checks.expect(editor.checked(C::Check6), "the click ticks Check6");
    checks.expect(IsWindowEnabled(editor[C::ttika]) && IsWindowEnabled(editor[C::tikdea]),
                  "Fade: the fields are enabled");
    editor.type(C::ttika, L"30");
    editor.type(C::Text5, L"3");
    editor.type(C::Text8, L"5");
    checks.expect_equal(editor.text(C::Text10), "5", "Estático copies Velocidad into Text10");
    editor.type(C::rojo, L"x");
    checks.expect_equal(editor.text(C::rojo), "0", "the field rule turns \"x\" into 0");
    editor.type(C::rojo, L"7");
    checks.expect_equal(editor.text(C::rojo), "7", "rojo typed");
    editor.click(C::Command1);
    checks.expect_equal(editor.text(C::ticsI), "20", "Tics");
    checks.expect_equal(editor.text(C::tiempoI), "0.333333333333333", "Tiempo");
    checks.expect_equal(read_file(kFileName), kTypicalFile, "the generated file");
    checks.expect(!temporary_files_left(), "no temporary files are left");
}

void tab_follows_the_focus_order(Checks& checks, const Editor& editor) {
    using C = ControlId;
    HWND start = editor[C::Text8];
    PostMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(start, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    checks.expect(eventually([&] { return editor.focus() == start; }, 5s),
                  "a click gives Text8 the focus");
    // Text10 is hidden while its range is Estático, so Tab passes it by.
    for (C next : {C::Text4, C::Text5, C::Text6, C::Text9, C::Check1}) {
        PostMessageW(editor.focus(), WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(editor.focus(), WM_KEYUP, VK_TAB, 0xC0000001);
        const bool moved = eventually([&] { return editor.focus() == editor[next]; }, 5s);
        checks.expect(moved, "Tab goes to " + name_of(next), name_of_window(editor.focus()));
    }
}

// The scene arrows change a label's caption and reload the fields from the store.
void scene_arrows_reload_the_fields(Checks& checks, const Editor& editor) {
    using C = ControlId;
    editor.type(C::ndees, L"2");  // two scenes, or the forward arrow stays at the first
    editor.click(C::botsig);
    checks.expect_equal(editor.text(C::Escena), "1", "the arrow moves to scene 1");
    checks.expect_equal(editor.text(C::rojo), "0", "scene 1 has its own rojo");
    editor.click(C::botant);
    checks.expect_equal(editor.text(C::Escena), "0", "the arrow goes back to scene 0");
    checks.expect_equal(editor.text(C::rojo), "7", "rojo comes back from scene 0");
    checks.expect_equal(editor.text(C::ttika), "30", "ttika comes back from scene 0");
    checks.expect(editor.checked(C::Check6), "Check6 comes back ticked");
}

void failure_shows_a_message(Checks& checks, const Editor& editor) {
    using C = ControlId;
    editor.paste(C::Text11, L"no-existe\\intro.def");
    editor.click(C::Command1);
    HWND box = nullptr;
    eventually([&] { return (box = find_window(editor.process_id(), L"#32770", editor.main())); });
    if (!checks.expect(box != nullptr, "a failure shows a message"))
        return;
    const std::string message = text_of(GetDlgItem(box, 0xFFFF));
    checks.expect(message.find("No se pudo crear el archivo") != std::string::npos &&
                      message.find("la carpeta no existe") != std::string::npos,
                  "the message explains the failure in Spanish", message);
    SendMessageW(box, WM_COMMAND, IDOK, 0);
    checks.expect(eventually([&] { return !IsWindow(box); }), "Aceptar closes the message");
    checks.expect_equal(editor.text(C::ticsI), "20", "a failure leaves Tics alone");
}

// A run of more than 100 million frames is asked about first; "No" leaves all as it was.
void a_very_long_run_is_asked_about(Checks& checks, const Editor& editor) {
    using C = ControlId;
    editor.type(C::Text6, L"999999999");
    PostMessageW(editor[C::Command1], BM_CLICK, 0, 0);
    HWND box = nullptr;
    eventually([&] { return (box = find_window(editor.process_id(), L"#32770", editor.main())); });
    if (!checks.expect(box != nullptr, "a very long run asks first"))
        return;
    checks.expect_equal(text_of(GetDlgItem(box, 0xFFFF)),
                        "Se van a escribir 1.000.000.000 cuadros (unos 20,9 GB). ¿Continuar?",
                        "the question");
    checks.expect_equal(text_of(GetDlgItem(box, IDYES)) + "/" + text_of(GetDlgItem(box, IDNO)),
                        "Sí/No", "the buttons");
    PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    checks.expect(eventually([&] { return !IsWindow(box); }), "No closes the question");
    checks.expect_equal(editor.text(C::ticsI), "20", "No leaves Tics as it was");
    editor.type(C::Text6, L"0");
}

// Reads what the editor writes into a named pipe, slowly, so that a run lasts long enough
// to show its progress. Stops when the editor closes its end, or after half a minute.
class SlowReader {
  public:
    SlowReader()
        : name_(L"\\\\.\\pipe\\tavrix-prueba-" + std::to_wstring(GetCurrentProcessId())),
          pipe_(CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                 0, 64 * 1024, 0, nullptr)) {
        if (pipe_ != INVALID_HANDLE_VALUE)
            thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }
    ~SlowReader() {
        if (!thread_)
            return;
        // A reader still blocked is left to the end of the process.
        WaitForSingleObject(thread_, finished_ ? INFINITE : 0);
        CloseHandle(thread_);
    }
    SlowReader(const SlowReader&) = delete;
    SlowReader& operator=(const SlowReader&) = delete;

    const std::wstring& name() const { return name_; }
    bool finished() const { return finished_; }
    const std::string& start() const { return start_; }

  private:
    static DWORD WINAPI run(void* self) {
        static_cast<SlowReader*>(self)->read();
        return 0;
    }
    void read() {
        if (ConnectNamedPipe(pipe_, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
            const auto end = std::chrono::steady_clock::now() + 30s;
            char block[64 * 1024];
            DWORD got = 0;
            while (std::chrono::steady_clock::now() < end &&
                   ReadFile(pipe_, block, sizeof block, &got, nullptr)) {
                if (start_.size() < 64)
                    start_.append(block, std::min<DWORD>(got, 64));
                std::this_thread::sleep_for(100ms);
            }
        }
        CloseHandle(pipe_);
        finished_ = true;
    }

    std::wstring name_;
    HANDLE pipe_;
    std::string start_;
    std::atomic<bool> finished_{false};
    HANDLE thread_ = nullptr;
};

void a_long_run_can_be_cancelled(Checks& checks, const Editor& editor) {
    using C = ControlId;
    SlowReader reader;
    editor.paste(C::Text11, reader.name());
    editor.type(C::Text8, L"0");
    editor.type(C::Text4, L"10000000");  // far more than the reader takes in before the end
    PostMessageW(editor[C::Command1], BM_CLICK, 0, 0);
    HWND progress = nullptr;
    eventually([&] {
        return (progress = find_window(editor.process_id(), L"TavrixProgreso", editor.main()));
    });
    if (!checks.expect(progress != nullptr, "a long run shows its progress"))
        return;
    checks.expect(!IsWindowEnabled(editor.main()), "the window waits meanwhile");
    HWND cancel = GetDlgItem(progress, IDCANCEL);
    checks.expect_equal(text_of(cancel), "Cancelar", "the button");
    PostMessageW(cancel, BM_CLICK, 0, 0);
    checks.expect(eventually([&] { return !IsWindow(progress); }), "Cancelar closes the progress");
    checks.expect(eventually([&] { return IsWindowEnabled(editor.main()) != FALSE; }),
                  "the window answers again");
    checks.expect(eventually([&] { return reader.finished(); }), "the run closes its output");
    checks.expect(reader.start().rfind("[SceneDef]\r\n", 0) == 0,
                  "the run was writing into the pipe", reader.start());
    checks.expect_equal(editor.text(C::ticsI), "20", "cancelling leaves Tics alone");
    std::this_thread::sleep_for(500ms);
    checks.expect(!find_window(editor.process_id(), L"#32770", editor.main()),
                  "cancelling shows no message");
    checks.expect_equal(read_file(kFileName), kTypicalFile, "the earlier file is unchanged");
}

}  // namespace
}  // namespace tavrix::win32

// An argument names the dots per inch the display is set to, which the window must use.
int main(int argc, char** argv) {
    using namespace tavrix::win32;
    const int expected_dpi = argc > 1 ? std::atoi(argv[1]) : 0;
    testing::Checks checks;
    {
        Editor editor;
        if (!checks.expect(editor.start(), "tavrix.exe starts and shows its window"))
            return checks.finish("tavrix-win32-window-test");
        window_matches_the_table(checks, editor, expected_dpi);
        typing_and_generating(checks, editor);
        tab_follows_the_focus_order(checks, editor);
        scene_arrows_reload_the_fields(checks, editor);
        failure_shows_a_message(checks, editor);
        a_very_long_run_is_asked_about(checks, editor);
        a_long_run_can_be_cancelled(checks, editor);
        checks.expect(editor.close() == 0, "the window closes and the program ends with 0");
    }
    DeleteFileW(kFileName);
    return checks.finish("tavrix-win32-window-test");
}
