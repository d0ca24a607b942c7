// Starts tavrix.exe (found beside this program) in the current folder and works its window
// from outside with window messages, as a person would: text into fields, clicks on boxes
// and buttons, "Generar!" and the failure message, the questions about unsaved changes and
// the recovery copy a killed window leaves. The child windows are
// found by their control identifiers, kFirstControlId plus the index in the control table.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>  // for sleep_for; the reader thread is a system one
#include <vector>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/preview.h"
#include "common/encoding.h"
#include "model/field_text.h"
#include "read_file.h"
#include "stage/archive_sprites.h"
#include "support/layout_check.h"
#include "system/file_output.h"
#include "system/platform.h"
#include "system/text_win32.h"
#include "ui/win32/dpi.h"
#include "ui/win32/layout.h"
#include "ui/win32/menu_bar.h"
#include "ui/win32/preview_window.h"

namespace tavrix::win32 {
namespace {

using testing::read_file;

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
    return search != INVALID_HANDLE_VALUE && FindClose(search);
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
    bool start(const std::wstring& session = {}) {
        const std::wstring program = folder_of_this_program() + L"tavrix.exe";
        std::wstring command = L"\"" + program + L"\"";
        if (!session.empty())
            command += L" \"" + session + L"\"";
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
    DWORD thread_id() const { return process_.dwThreadId; }
    HWND operator[](ControlId id) const { return GetDlgItem(main_, control_id(id)); }

    std::string text(ControlId id) const { return text_of((*this)[id]); }
    bool checked(ControlId id) const {
        return SendMessageW((*this)[id], BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // Pastes a whole text at once, as WM_SETTEXT does.
    void paste(ControlId id, const std::wstring& text) const {
        SendMessageW((*this)[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Puts `text` on the clipboard, whole, and pastes it over the characters `from` to `to`
    // (-1: to the end), as Ctrl+V does.
    void paste_from_clipboard(ControlId id, const std::wstring& text, int from = 0,
                              int to = -1) const {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
        std::copy(text.begin(), text.end(), copy);
        copy[text.size()] = L'\0';
        GlobalUnlock(memory);
        OpenClipboard(nullptr);
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        SendMessageW((*this)[id], EM_SETSEL, static_cast<WPARAM>(from), to);
        SendMessageW((*this)[id], WM_PASTE, 0, 0);
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

// Whether a control starts enabled (or visible), it and every container it lies in.
bool shown_at_start(ControlId id, bool Initially::*flag) {
    for (std::optional<ControlId> at = id; at; at = control_def(*at).container) {
        if (!(control_def(*at).initially.*flag))
            return false;
    }
    return true;
}

tavrix::testing::ShownRect shown_rect(HWND window, HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

HWND focused(const Editor& editor) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(editor.thread_id(), &info) ? info.hwndFocus : nullptr;
}

// Tab pressed as a person presses it, from the control that has the focus until the focus
// comes back to it.
std::vector<ControlId> tab_walk(const Editor& editor) {
    std::vector<ControlId> walk;
    const HWND start = focused(editor);
    for (HWND at = start; at && walk.size() <= kControlCount;) {
        walk.push_back(static_cast<ControlId>(GetDlgCtrlID(at) - kFirstControlId));
        PostMessageW(at, WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(at, WM_KEYUP, VK_TAB, 0xC0000001);
        eventually([&] { return focused(editor) != at; }, std::chrono::seconds(2));
        at = focused(editor);
        if (at == start)
            break;
    }
    return walk;
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

// The steps below work one editor in turn, each going on from where the one before left it.
int expected_dpi = 0;

class EditorWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        editor_ = new Editor;
        started_ = editor_->start();
    }
    static void TearDownTestSuite() {
        delete editor_;
        DeleteFileW(kFileName);
    }
    void SetUp() override { ASSERT_TRUE(started_) << "tavrix.exe starts and shows its window"; }
    static Editor* editor_;
    static bool started_;
};
Editor* EditorWindow::editor_ = nullptr;
bool EditorWindow::started_ = false;

TEST_F(EditorWindow, MatchesTheTableAtStartUp) {
    const Editor& editor = *editor_;
    EXPECT_EQ(text_of(editor.main()), "Tavrix v2.0 -= BETA =-");
    const int dpi = window_dpi(editor.main());
    if (expected_dpi > 0) {
        EXPECT_EQ(dpi, expected_dpi) << "the screen's dots per inch";
    }
    const WindowDef& form = window_def();
    const PixelRect client = to_pixels(Twips{0, 0, form.client_width, form.client_height}, dpi);
    RECT area{};
    GetClientRect(editor.main(), &area);
    EXPECT_EQ(area.right, client.width) << "the client area's width at " << dpi << " dpi";
    EXPECT_EQ(area.bottom, client.height) << "the client area's height at " << dpi << " dpi";
    for (const ControlDef& def : control_table()) {
        HWND control = editor[def.id];
        if (control == nullptr) {
            ADD_FAILURE() << def.name << " is missing";
            continue;
        }
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, shown_at_start(def.id, &Initially::enabled))
            << def.name;
        EXPECT_EQ(IsWindowVisible(control) != FALSE, shown_at_start(def.id, &Initially::visible))
            << def.name;
        if (def.id != ControlId::Label9) {
            EXPECT_EQ(editor.text(def.id), def.text) << def.name;
        }
    }
    const tavrix::testing::ShownLayout shown{
        dpi, [&editor](ControlId id) { return shown_rect(editor.main(), editor[id]); },
        tab_walk(editor),
        [](ControlId id) {
            return shown_at_start(id, &Initially::enabled) &&
                   shown_at_start(id, &Initially::visible);
        }};
    for (const std::string& difference : tavrix::testing::layout_differences(shown))
        ADD_FAILURE() << difference;
    EXPECT_TRUE(editor.checked(ControlId::Check5)) << "Check5 ticked at start-up";
    EXPECT_TRUE(!editor.checked(ControlId::Check6)) << "Check6 clear at start-up";
    const std::string credits = editor.text(ControlId::Label9);
    EXPECT_EQ(std::count(credits.begin(), credits.end(), '\n'), 2) << "Label9 on three lines";
    const auto with_tooltip =
        std::count_if(control_table().begin(), control_table().end(),
                      [](const ControlDef& def) { return !def.tooltip.empty(); });
    const HWND tips = find_window(editor.process_id(), TOOLTIPS_CLASSW, editor.main(), false);
    EXPECT_EQ(tips ? SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) : -1, with_tooltip)
        << "a tooltip for each control that has one";
}

// Every caption shows whole, each line inside its control and the window's client area. A
// check box on a group title shows its box alone.
TEST_F(EditorWindow, CaptionsFit) {
    const Editor& editor = *editor_;
    const int dpi = window_dpi(editor.main());
    RECT client{};
    GetClientRect(editor.main(), &client);
    for (const ControlDef& def : control_table()) {
        if (def.kind == Kind::TextBox || (def.kind == Kind::CheckBox && def.place.width <= 255))
            continue;
        const std::wstring text = widen(text_of(editor[def.id]));
        HDC dc = GetDC(editor[def.id]);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(editor[def.id], WM_GETFONT, 0, 0)));
        int widest = 0;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
            SIZE size{};
            GetTextExtentPoint32W(dc, text.data() + start, static_cast<int>(end - start), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
            start = end + 2;
        }
        ReleaseDC(editor[def.id], dc);
        constexpr int kIndent[] = {0, 0, 17, 6, 9};  // by kind, at 96 dpi: the box, the frame
        const int used = widest + MulDiv(kIndent[static_cast<int>(def.kind)], dpi, 96);
        const PixelRect place = to_pixels(place_on_window(def), dpi);
        EXPECT_LE(used, std::min<int>(place.width, client.right - place.left))
            << def.name << " shows its whole caption at " << dpi << " dpi";
    }
}

TEST_F(EditorWindow, TypingAndGenerating) {
    const Editor& editor = *editor_;
    using C = ControlId;
    editor.paste(C::Text11, kFileName);
    editor.click(C::Check6);
    EXPECT_TRUE(editor.checked(C::Check6)) << "the click ticks Check6";
    EXPECT_TRUE(IsWindowEnabled(editor[C::ttika]) && IsWindowEnabled(editor[C::tikdea]))
        << "Fade: the fields are enabled";
    editor.type(C::ttika, L"30");
    editor.type(C::Text5, L"3");
    editor.type(C::Text8, L"5");
    EXPECT_EQ(editor.text(C::Text10), "5") << "Estático copies Velocidad into Text10";
    editor.type(C::rojo, L"-5");
    EXPECT_EQ(editor.text(C::rojo), "5") << "the rule's 0 is selected, so 5 replaces it";
    editor.type(C::rojo, L"x");
    EXPECT_EQ(editor.text(C::rojo), "0") << "the field rule turns \"x\" into 0";
    editor.type(C::rojo, L"7");
    EXPECT_EQ(editor.text(C::rojo), "7") << "rojo typed";
    editor.click(C::Command1);
    EXPECT_EQ(editor.text(C::ticsI), "20") << "Tics";
    EXPECT_EQ(editor.text(C::tiempoI), "0.333333333333333") << "Tiempo";
    editor.type(C::tiempoI, L"9");
    EXPECT_EQ(editor.text(C::tiempoI), "0.333333333333333") << "Tiempo is read-only";
    EXPECT_EQ(read_file(kFileName), kTypicalFile) << "the generated file";
    EXPECT_TRUE(!temporary_files_left()) << "no temporary files are left";
}

// A paste keeps what the model's rule keeps of it, the rule the Qt window applies, and a
// field takes more than an edit's own 30000 characters or a Qt line's 32767.
TEST_F(EditorWindow, PasteKeepsTheFirstLine) {
    const Editor& editor = *editor_;
    using C = ControlId;
    EXPECT_EQ(SendMessageW(editor[C::Text12], EM_GETLIMITTEXT, 0, 0), LRESULT{kFieldTextLimit});
    using namespace std::string_literals;
    for (const std::string& pasted : {"a.sff\r\n\r\n[Scene 7]\r\nfadein.time = 999"s, "a\r\r\nb"s,
                                      "a\rb\t"s, "a\0b"s, "\nb"s, std::string(32768, '7')}) {
        editor.paste_from_clipboard(C::Text12, widen(pasted));
        EXPECT_EQ(editor.text(C::Text12), pasted_line(pasted)) << quoted_for_message(pasted);
    }
    editor.paste(C::Text12, L"xyz");
    editor.paste_from_clipboard(C::Text12, L"AB\r\nCD", 1, 1);
    EXPECT_EQ(editor.text(C::Text12), "xAByz") << "pasted at the caret";
    editor.paste(C::Text12, L"intro.sff");
}

// The scene arrows change a label's caption and reload the fields from the store.
TEST_F(EditorWindow, SceneArrowsReloadTheFields) {
    const Editor& editor = *editor_;
    using C = ControlId;
    editor.type(C::ndees, L"2");  // two scenes, or the forward arrow stays at the first
    editor.click(C::botsig);
    EXPECT_EQ(editor.text(C::Escena), "1") << "the arrow moves to scene 1";
    EXPECT_EQ(editor.text(C::rojo), "0") << "scene 1 has its own rojo";
    editor.click(C::botant);
    EXPECT_EQ(editor.text(C::Escena), "0") << "the arrow goes back to scene 0";
    EXPECT_EQ(editor.text(C::rojo), "7") << "rojo comes back from scene 0";
    EXPECT_EQ(editor.text(C::ttika), "30") << "ttika comes back from scene 0";
    EXPECT_TRUE(editor.checked(C::Check6)) << "Check6 comes back ticked";
}

TEST_F(EditorWindow, FailureShowsAMessage) {
    const Editor& editor = *editor_;
    using C = ControlId;
    editor.paste(C::Text11, L"no-existe\\intro.def");
    editor.click(C::Command1);
    HWND box = nullptr;
    eventually([&] { return (box = find_window(editor.process_id(), L"#32770", editor.main())); });
    ASSERT_TRUE(box != nullptr) << "a failure shows a message";
    const std::string message = text_of(GetDlgItem(box, 0xFFFF));
    EXPECT_TRUE(message.find("No se pudo crear el archivo") != std::string::npos &&
                message.find("la carpeta no existe") != std::string::npos)
        << "the message explains the failure in Spanish"
        << ": " << message;
    EXPECT_EQ(text_of(GetDlgItem(box, IDOK)), "Aceptar") << "the message's one button";
    SendMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(eventually([&] { return !IsWindow(box); })) << "Aceptar closes the message";
    EXPECT_EQ(editor.text(C::ticsI), "20") << "a failure leaves Tics alone";
}

// Answers the question the window asks with one of its buttons (IDYES the first, IDNO the
// second, IDCANCEL "Cancelar"), once it shows.
bool answer(const Editor& editor, int button) {
    HWND box = nullptr;
    eventually([&] { return (box = find_window(editor.process_id(), L"#32770", editor.main())); });
    if (!box)
        return false;
    SendMessageW(box, TDM_CLICK_BUTTON, static_cast<WPARAM>(button), 0);
    return eventually([&] { return !IsWindow(box); });
}

std::wstring recovery_folder() {
    wchar_t base[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    return std::wstring(base) + L"\\Tavrix\\";
}

std::wstring recovery_copy_of(DWORD process) {
    return recovery_folder() + L"sesion-sin-guardar-" + std::to_wstring(process) + L".tavrix";
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Unsaved changes mark the title, are copied for recovery soon after, and closing asks.
TEST_F(EditorWindow, UnsavedChangesAreKept) {
    const Editor& editor = *editor_;
    EXPECT_EQ(text_of(editor.main()), "*Tavrix v2.0 -= BETA =-");
    EXPECT_TRUE(eventually([&] { return exists(recovery_copy_of(editor.process_id())); }))
        << "a recovery copy follows the changes";
    PostMessageW(editor.main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer(editor, IDCANCEL)) << "closing asks whether to save the changes";
    EXPECT_TRUE(IsWindow(editor.main())) << "Cancelar keeps the window open";
}

// A window started after one was killed offers its copy, and recovers what it held.
TEST_F(EditorWindow, AKilledWindowIsRecovered) {
    using C = ControlId;
    const DWORD killed = editor_->process_id();
    delete editor_;  // killed, as Task Manager ends a program
    editor_ = nullptr;
    Editor editor;
    ASSERT_TRUE(editor.start());
    EXPECT_TRUE(answer(editor, IDYES)) << "the copy of the killed window is offered";
    EXPECT_EQ(editor.text(C::rojo), "7");
    EXPECT_EQ(editor.text(C::ticsI), "20");
    EXPECT_EQ(text_of(editor.main()), "*Tavrix v2.0 -= BETA =-") << "recovered, unsaved";
    EXPECT_FALSE(exists(recovery_copy_of(killed))) << "the killed window's copy is taken over";
    PostMessageW(editor.main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer(editor, IDNO)) << "closing asks again";
    EXPECT_EQ(editor.close(), 0u) << "No guardar closes, and the program ends with 0";
    EXPECT_FALSE(exists(recovery_copy_of(editor.process_id()))) << "a normal close removes it";
}

// "tavrix.exe FILE" opens that session; "Guardar sesión" writes it back.
TEST_F(EditorWindow, ASessionNamedAtStartOpens) {
    using C = ControlId;
    const std::wstring path = L"sesi\u00f3n.tavrix";
    {
        Form1 form(system_platform());
        (void)form.type_text(C::ndees, "3");
        ASSERT_TRUE(form.save_session(narrow(path)).ok());
    }
    Editor editor;
    ASSERT_TRUE(editor.start(path));
    EXPECT_EQ(text_of(editor.main()), "sesi\u00f3n.tavrix - Tavrix v2.0 -= BETA =-");
    EXPECT_EQ(editor.text(C::ndees), "3");
    editor.type(C::rojo, L"5");
    EXPECT_EQ(text_of(editor.main()), "*sesi\u00f3n.tavrix - Tavrix v2.0 -= BETA =-");
    SendMessageW(editor.main(), WM_COMMAND, command_id(MenuCommand::SaveSession), 0);
    EXPECT_EQ(text_of(editor.main()), "sesi\u00f3n.tavrix - Tavrix v2.0 -= BETA =-");
    EXPECT_NE(read_file(path).find("\"esc_rojo\": [\"5\""), std::string::npos);
    EXPECT_EQ(editor.close(), 0u) << "a saved session closes without asking";
    DeleteFileW(path.c_str());
}

// "Generar storyboard completo" writes every scene into the file of "Nombre del archivo:";
// "Importar storyboard..." asks about the unsaved changes, then for the file, reads it back
// and lists what it left, and the session is unsaved with no file of its own.
TEST_F(EditorWindow, WholeStoryboardOutAndBackIn) {
    using C = ControlId;
    const std::wstring path = L"todo.def";
    Editor editor;
    ASSERT_TRUE(editor.start());
    editor.paste(C::Text11, path);
    editor.type(C::ndees, L"2");
    SendMessageW(editor.main(), WM_COMMAND, command_id(MenuCommand::ExportStoryboard), 0);
    HWND done = nullptr;
    eventually([&] { return (done = find_window(editor.process_id(), L"#32770", editor.main())); });
    ASSERT_TRUE(done != nullptr) << "the export tells that it is done";
    EXPECT_EQ(text_of(GetDlgItem(done, 0xFFFF)), "Se gener\xc3\xb3 \"todo.def\". Escenas: 2.");
    SendMessageW(done, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(eventually([&] { return !IsWindow(done); }));
    std::string written = read_file(path);
    EXPECT_NE(written.find("[Scene 1]"), std::string::npos) << written;
    HANDLE file =
        CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD put = 0;
    WriteFile(file, "[Info]\r\n", 8, &put, nullptr);
    CloseHandle(file);

    editor.type(C::ndees, L"1");
    PostMessageW(editor.main(), WM_COMMAND, command_id(MenuCommand::ImportStoryboard), 0);
    EXPECT_TRUE(answer(editor, IDNO)) << "the unsaved changes are asked about first";
    HWND choose = nullptr;
    eventually(
        [&] { return (choose = find_window(editor.process_id(), L"#32770", editor.main())); });
    ASSERT_TRUE(choose != nullptr) << "then the file is asked for";
    // The whole path: the dialog may start in the folder it last showed.
    wchar_t whole[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, whole, nullptr);
    for (const int name_box : {cmb13, edt1})
        SetDlgItemTextW(choose, name_box, whole);
    PostMessageW(choose, WM_COMMAND, IDOK, 0);
    HWND report = nullptr;
    eventually([&] { return (report = find_window(editor.process_id(), L"TavrixComprobar")); });
    ASSERT_TRUE(report != nullptr) << "what was not taken is listed";
    EXPECT_EQ(text_of(report), "Importar storyboard");
    const std::string lines = text_of(GetDlgItem(report, 100));
    EXPECT_NE(lines.find("[Info] no se toma: la ventana no tiene d\xc3\xb3nde guardarla."),
              std::string::npos)
        << lines;
    SendMessageW(report, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(editor.text(C::ndees), "2");
    EXPECT_EQ(text_of(editor.main()), "*Tavrix v2.0 -= BETA =-");
    PostMessageW(editor.main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer(editor, IDNO)) << "closing asks: the import is unsaved";
    EXPECT_EQ(editor.close(), 0u);
    DeleteFileW(path.c_str());
}

// The pixels the screen shows of a window's client area, as R, G, B, A rows from the top.
std::vector<std::uint8_t> on_screen(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> pixels(static_cast<const std::uint8_t*>(bits),
                                     static_cast<const std::uint8_t*>(bits) + 4 * width * height);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        std::swap(pixels[i], pixels[i + 2]);
        pixels[i + 3] = 255;
    }
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}

std::vector<std::uint8_t> composed(const Form1& form, std::int64_t tick) {
    Preview preview(form, archive_sprites_opener(system_platform().file_exists));
    preview.seek(tick);
    std::vector<std::uint8_t> pixels(kStageBytes);
    (void)preview.draw(StagePixels(pixels.data(), kStageBytes));
    return pixels;
}

void press(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// F5 opens "Vista previa" beside the editor; Space plays and pauses, Left and Right step
// one tick, and the stage at scale 1 shows what the stage composed at the tick shown, an
// edit of the form included.
TEST_F(EditorWindow, PreviewFollowsKeysAndForm) {
    using C = ControlId;
    const std::wstring path = L"vista.tavrix";
    Form1 form(system_platform());
    (void)form.type_text(C::rojo, "200");
    (void)form.type_text(C::Text5, "3");
    (void)form.type_text(C::Text8, "5");
    ASSERT_TRUE(form.save_session(narrow(path)).ok());
    Editor editor;
    ASSERT_TRUE(editor.start(path));
    press(editor.main(), VK_F5);
    HWND preview = nullptr;
    ASSERT_TRUE(eventually(
        [&] { return (preview = find_window(editor.process_id(), kPreviewWindowClass)); }));
    const auto tick_shown = [&] {
        const std::string status = text_of(GetDlgItem(preview, kPreviewStatus));
        return status.substr(0, status.find(" \u00b7 "));
    };
    EXPECT_EQ(tick_shown(), "Tic 0 de 20");
    for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_LEFT})
        press(preview, key);
    EXPECT_TRUE(eventually([&] { return tick_shown() == "Tic 2 de 20"; })) << tick_shown();
    press(preview, VK_SPACE);
    EXPECT_TRUE(eventually([&] { return text_of(GetDlgItem(preview, kPreviewPlay)) == "Pausa"; }));
    press(preview, VK_SPACE);
    EXPECT_TRUE(
        eventually([&] { return text_of(GetDlgItem(preview, kPreviewPlay)) == "Reproducir"; }));

    HWND scale = GetDlgItem(preview, kPreviewScale);
    SendMessageW(scale, CB_SETCURSEL, 0, 0);
    SendMessageW(preview, WM_COMMAND, MAKEWPARAM(kPreviewScale, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(scale));
    SendMessageW(GetDlgItem(preview, kPreviewTimeline), TBM_SETPOS, TRUE, 7);
    SendMessageW(preview, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7),
                 reinterpret_cast<LPARAM>(GetDlgItem(preview, kPreviewTimeline)));
    EXPECT_TRUE(eventually([&] { return tick_shown() == "Tic 7 de 20"; })) << tick_shown();
    HWND stage = GetDlgItem(preview, kPreviewStage);
    EXPECT_TRUE(eventually([&] { return on_screen(stage) == composed(form, 7); }))
        << "the stage at scale 1 is the one composed at tick 7";
    editor.type(C::rojo, L"40");
    (void)form.type_text(C::rojo, "40");
    EXPECT_TRUE(eventually([&] { return on_screen(stage) == composed(form, 7); }))
        << "an edit shows on the stage at once";
    PostMessageW(editor.main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer(editor, IDNO));
    DeleteFileW(path.c_str());
}

// Copies left by earlier runs would be offered to the first window.
void remove_recovery_copies() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(recovery_folder(), ignored)) {
        if (entry.path().filename().wstring().starts_with(L"sesion-sin-guardar-"))
            std::filesystem::remove(entry.path(), ignored);
    }
}

}  // namespace
}  // namespace tavrix::win32

// An argument names the dots per inch the display is set to, which the window must use.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tavrix::win32::expected_dpi = argc > 1 ? std::atoi(argv[1]) : 0;
    tavrix::win32::remove_recovery_copies();
    return RUN_ALL_TESTS();
}
