// The Windows side of the program without its window: where the controls go on screen, the
// storyboard file through the wide-character calls, and the ANSI code page.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check.h"
#include "system/file_output.h"
#include "system/text_win32.h"
#include "ui/win32/layout.h"

namespace tavrix::win32 {
namespace {

using testing::read_file;

using C = ControlId;
using testing::Checks;

std::string name_of(ControlId id) {
    return std::string(control_def(id).name);
}

std::string describe(const PixelRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
           "x" + std::to_string(r.height);
}

void pixels_follow_the_dpi(Checks& checks) {
    struct Case {
        Twips twips;
        int dpi;
        PixelRect pixels;
    };
    const Case cases[] = {
        {{0, 0, 9450, 8625}, 96, {0, 0, 630, 575}},   // the client area
        {{0, 0, 9450, 8625}, 144, {0, 0, 945, 863}},  // 862.5 rounds up
        {{120, 720, 9135, 4455}, 96, {8, 48, 609, 297}},
        {{120, 720, 9135, 4455}, 120, {10, 60, 761, 371}},
        {{120, 720, 9135, 4455}, 144, {12, 72, 914, 446}},  // edges 925.5 and 517.5 round up
        {{7, 7, 7, 7}, 96, {0, 0, 1, 1}},                   // 0.47 and 0.93 px
    };
    for (const Case& c : cases) {
        const PixelRect got = to_pixels(c.twips, c.dpi);
        checks.expect(got == c.pixels,
                      "at " + std::to_string(c.dpi) + " dpi expected " + describe(c.pixels),
                      describe(got));
    }
    // Controls that touch in twips touch on screen at every scale.
    for (int dpi : {96, 108, 120, 144, 168, 192, 240}) {
        for (int left = 0; left < 1440; left += 37) {
            const PixelRect a = to_pixels(Twips{left, 0, 255, 255}, dpi);
            const PixelRect b = to_pixels(Twips{left + 255, 0, 375, 255}, dpi);
            checks.expect(a.left + a.width == b.left,
                          "adjoining edges at " + std::to_string(dpi) + " dpi",
                          describe(a) + " / " + describe(b));
        }
    }
}

void places_add_up_the_frames(Checks& checks) {
    struct Case {
        ControlId id;
        int left;
        int top;
    };
    // Places on the window that the layout states outright for a few nested controls.
    const Case cases[] = {
        {C::Text25, 7200, 1800}, {C::nroAnim, 4200, 1080}, {C::Check6, 960, 1440},
        {C::Text26, 7680, 1800}, {C::Frame1, 120, 720},    {C::Text14, 7560, 3960},
    };
    for (const Case& c : cases) {
        const Twips place = place_on_window(control_def(c.id));
        checks.expect(place.left == c.left && place.top == c.top,
                      name_of(c.id) + " en " + std::to_string(c.left) + "," + std::to_string(c.top),
                      std::to_string(place.left) + "," + std::to_string(place.top));
    }
}

void stacking_follows_the_table(Checks& checks) {
    struct Case {
        ControlId upper;
        ControlId lower;
        bool above;
    };
    const Case cases[] = {
        {C::Check2, C::Check1, true},     // declared later in the same container
        {C::Check1, C::Check2, false},    //
        {C::Frame1, C::Label33, true},    // the frame hides the separator left under it
        {C::Label16, C::Frame1, true},    // contents lie above their frame
        {C::Frame1, C::Label16, false},   //
        {C::Check6, C::Frame2, true},     // on the title line of its frame
        {C::Frame2, C::Frame1, true},     // nested frames
        {C::Command3, C::Label18, true},  // on the window, above everything in Frame1
        {C::Label18, C::Command3, false}, {C::Text26, C::Text25, true},
        {C::Text25, C::Text26, false},    {C::Text1, C::Text1, false},
    };
    for (const Case& c : cases) {
        checks.expect(lies_above(c.upper, c.lower) == c.above,
                      name_of(c.upper) + (c.above ? " above " : " not above ") + name_of(c.lower));
    }
    const auto covers = [](ControlId id, ControlId by) {
        const std::vector<ControlId> above = covering(id);
        return std::find(above.begin(), above.end(), by) != above.end();
    };
    checks.expect(covers(C::Label33, C::Frame1), "Frame1 covers Label33");
    checks.expect(covers(C::Check1, C::Check2), "Check2 covers part of Check1");
    checks.expect(!covers(C::Check2, C::Check1), "Check1 does not cover Check2");
    checks.expect(covering(C::Text11).empty(), "nothing covers Text11");
}

void creation_order_gives_tab_and_stacking(Checks& checks) {
    const std::vector<ControlId> order = creation_order();
    const std::vector<ControlId>& focus = focus_order();
    checks.expect(order.size() == kControlCount, "each control is created once");
    checks.expect(std::equal(focus.begin(), focus.end(), order.begin()),
                  "first those that take the focus, in focus order");
    std::vector<ControlId> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    checks.expect(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end(),
                  "no control repeated");
    const auto position = [&](ControlId id) {
        return std::find(order.begin(), order.end(), id) - order.begin();
    };
    // Created later means lower in the Z order: a frame under everything it contains.
    for (const ControlDef& def : control_table()) {
        if (def.container)
            checks.expect(position(*def.container) > position(def.id),
                          name_of(*def.container) + " lies below " + name_of(def.id));
    }
}

// A folder of its own under the temporary folder, emptied and removed at the end.
class Folder {
  public:
    Folder() {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"tavrix-prueba-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~Folder() {
        for (const std::wstring& name : names()) {
            const std::wstring file = path_ + L"\\" + name;
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string utf8(const std::wstring& name) const { return narrow(path_ + L"\\" + name); }
    std::wstring wide(const std::wstring& name) const { return path_ + L"\\" + name; }

    std::vector<std::wstring> names() const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW data{};
        const std::wstring pattern = path_ + L"\\*";
        HANDLE search = FindFirstFileW(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            return found;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                found.push_back(name);
        } while (FindNextFileW(search, &data));
        FindClose(search);
        std::sort(found.begin(), found.end());
        return found;
    }

  private:
    std::wstring path_;
};

IoStatus write_whole(const std::string& path, std::string_view bytes) {
    const std::unique_ptr<Output> output = make_file_output();
    IoStatus status = output->open(path);
    if (status.ok())
        status = output->write(bytes);
    if (status.ok())
        status = output->commit();
    return status;
}

std::string joined(const std::vector<std::wstring>& names) {
    std::string out;
    for (const std::wstring& name : names)
        out += narrow(name) + " ";
    return out;
}

void file_replaces_whole(Checks& checks) {
    Folder folder;
    const std::wstring name = L"intro.def";
    const std::string path = folder.utf8(name);
    checks.expect(write_whole(path, "uno\r\n").ok(), "creates a new file");
    checks.expect_equal(read_file(folder.wide(name)), "uno\r\n", "new content");
    checks.expect(write_whole(path, "dos\r\n").ok(), "replaces a file that exists");
    checks.expect_equal(read_file(folder.wide(name)), "dos\r\n", "replaced content");
    checks.expect(folder.names() == std::vector<std::wstring>{name}, "no temporary file is left",
                  joined(folder.names()));

    {  // abandoned: the old file stands as it was, with nothing beside it
        const std::unique_ptr<Output> output = make_file_output();
        checks.expect(output->open(path).ok(), "opens to abandon");
        checks.expect(output->write("a medias").ok(), "writes before abandoning");
        output->abandon();
    }
    checks.expect_equal(read_file(folder.wide(name)), "dos\r\n",
                        "abandoning leaves the file alone");
    {  // destroyed without a commit counts as abandoned
        const std::unique_ptr<Output> output = make_file_output();
        checks.expect(output->open(folder.utf8(L"nunca.def")).ok(), "opens without committing");
        checks.expect(output->write("x").ok(), "writes without committing");
    }
    checks.expect(folder.names() == std::vector<std::wstring>{name},
                  "nothing is left without committing", joined(folder.names()));

    // Relative paths are taken from the current folder, for a new file and a replaced one.
    wchar_t previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.wide(L"").c_str());
    checks.expect(write_whole("relativo.def", "r1").ok(), "new relative path");
    checks.expect(write_whole("relativo.def", "r2").ok(), "relative path that exists");
    // A device is written in place: no temporary file beside it, no replacing.
    checks.expect(write_whole("NUL", "nada").ok(), "the NUL device is written");
    SetCurrentDirectoryW(previous);
    checks.expect(folder.names() == std::vector<std::wstring>{name, L"relativo.def"},
                  "NUL leaves nothing in the folder", joined(folder.names()));
    checks.expect_equal(read_file(folder.wide(L"relativo.def")), "r2", "relative path");

    // Names as typed, in any script: the UTF-8 text becomes the wide-character name.
    const std::wstring wide_name = L"canci\u00f3n \u00f1and\u00fa \u20ac \u4e2d.def";
    checks.expect(write_whole(folder.utf8(wide_name), "w").ok(), "a name with accents and €");
    checks.expect_equal(read_file(folder.wide(wide_name)), "w", "a file with a Unicode name");
}

void failures_are_told_in_spanish(Checks& checks) {
    Folder folder;
    const std::wstring locked = L"bloqueado.def";
    const std::wstring read_only = L"solo-lectura.def";
    checks.expect(write_whole(folder.utf8(locked), "viejo").ok(), "prepares the locked one");
    checks.expect(write_whole(folder.utf8(read_only), "viejo").ok(), "prepares the read-only one");
    SetFileAttributesW(folder.wide(read_only).c_str(), FILE_ATTRIBUTE_READONLY);
    // Another program holds the file open and lets nobody else in.
    HANDLE holder = CreateFileW(folder.wide(locked).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    checks.expect(holder != INVALID_HANDLE_VALUE, "another program opens the file");

    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {"", "no se indicó ningún nombre de archivo"},
        {folder.utf8(L"no-existe\\intro.def"), "la carpeta no existe"},
        {folder.utf8(L""), "la ruta es una carpeta"},
        {folder.utf8(L"mal") + "\xFF.def", "el nombre del archivo no es válido"},
        {folder.utf8(read_only), "no hay permiso para escribir ahí"},
        {folder.utf8(locked), "el archivo está en uso por otro programa"},
    };
    for (const Case& c : cases) {
        const IoStatus status = write_whole(c.path, "nuevo");
        checks.expect(!status.ok() && status.reason() == c.reason,
                      "\"" + c.path + "\" fails with \"" + c.reason + "\"",
                      status.ok() ? "was written" : status.reason());
    }
    CloseHandle(holder);
    checks.expect_equal(read_file(folder.wide(locked)), "viejo", "the locked one is unchanged");
    checks.expect_equal(read_file(folder.wide(read_only)), "viejo",
                        "the read-only one is unchanged");
    checks.expect(folder.names() == std::vector<std::wstring>{locked, read_only},
                  "the failures leave no temporary files", joined(folder.names()));
}

void texts_go_to_the_ansi_code_page(Checks& checks) {
    if (GetACP() != 1252) {
        std::printf("(code page %u, not 1252: the 1252 cases are skipped)\n", GetACP());
        return;
    }
    struct Case {
        std::string_view utf8;
        std::string_view ansi;
    };
    const Case cases[] = {
        {"c:\\intro.def", "c:\\intro.def"},
        {"Canci\xC3\xB3n \xC3\xB1", "Canci\xF3n \xF1"},
        {"\xE2\x82\xAC 5", "\x80 5"},  // the euro sign has a place in 1252
        {"\xC4\x81", "?"},             // no look-alike "a" for a-macron
        {"\xE4\xB8\xAD\xE6\x96\x87", "??"},
        {"a\xFF"
         "b",
         "a?b"},  // a stray byte
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string out = "previo:";
        append_active_code_page(c.utf8, out);
        checks.expect_equal(out, "previo:" + std::string(c.ansi),
                            "1252 de \"" + std::string(c.utf8) + "\"");
    }
}

void utf16_round_trip(Checks& checks) {
    const std::string text =
        "A\xC3\xB1o \xE2\x82\xAC \xF0\x9F\x98\x80";  // includes a surrogate pair
    checks.expect_equal(narrow(widen(text)), text, "UTF-8 → UTF-16 → UTF-8");
    checks.expect(widen(text).size() == 8, "the smiling face takes two UTF-16 units");
    checks.expect(!widen_exact("\xC3"), "a cut sequence is not a name");
}

}  // namespace
}  // namespace tavrix::win32

int main() {
    tavrix::win32::testing::Checks checks;
    using namespace tavrix::win32;
    pixels_follow_the_dpi(checks);
    places_add_up_the_frames(checks);
    stacking_follows_the_table(checks);
    creation_order_gives_tab_and_stacking(checks);
    file_replaces_whole(checks);
    failures_are_told_in_spanish(checks);
    texts_go_to_the_ansi_code_page(checks);
    utf16_round_trip(checks);
    return checks.finish("tavrix-win32-system-test");
}
