// The Windows side of the program without its window: where the controls go on screen, the
// storyboard file through the wide-character calls, and the ANSI code page.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "read_file.h"
#include "system/file_output.h"
#include "system/text_win32.h"
#include "ui/win32/layout.h"

namespace tavrix::win32 {
namespace {

using C = ControlId;
using testing::read_file;

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
    return write_whole(*make_file_output(), path, bytes);
}

TEST(FileOutput, ReplacesTheWholeFile) {
    Folder folder;
    const std::wstring name = L"intro.def";
    const std::string path = folder.utf8(name);
    EXPECT_TRUE(write_whole(path, "uno\r\n").ok()) << "creates a new file";
    EXPECT_EQ(read_file(folder.wide(name)), "uno\r\n") << "new content";
    EXPECT_TRUE(write_whole(path, "dos\r\n").ok()) << "replaces a file that exists";
    EXPECT_EQ(read_file(folder.wide(name)), "dos\r\n") << "replaced content";
    EXPECT_EQ(folder.names(), (std::vector<std::wstring>{name})) << "no temporary file is left";
    // What a run of a process now gone left is removed; a running process's file stays.
    const std::wstring live = L".tavrix-" + std::to_wstring(GetCurrentProcessId()) + L"-live.tmp";
    for (const std::wstring& left : {std::wstring(L".tavrix-4294967280-dead.tmp"), live})
        CloseHandle(CreateFileW(folder.wide(left).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(write_whole(path, "dos\r\n").ok()) << "replaces beside leftovers of other runs";
    EXPECT_EQ(folder.names(), (std::vector<std::wstring>{live, name}))
        << "the leftovers of processes now gone are removed";
    DeleteFileW(folder.wide(live).c_str());

    {  // abandoned: the old file stands as it was, with nothing beside it
        const std::unique_ptr<Output> output = make_file_output();
        EXPECT_TRUE(output->open(path).ok()) << "opens to abandon";
        EXPECT_TRUE(output->write("a medias").ok()) << "writes before abandoning";
        output->abandon();
    }
    EXPECT_EQ(read_file(folder.wide(name)), "dos\r\n") << "abandoning leaves the file alone";
    {  // destroyed without a commit counts as abandoned
        const std::unique_ptr<Output> output = make_file_output();
        EXPECT_TRUE(output->open(folder.utf8(L"nunca.def")).ok()) << "opens without committing";
        EXPECT_TRUE(output->write("x").ok()) << "writes without committing";
    }
    EXPECT_EQ(folder.names(), (std::vector<std::wstring>{name}))
        << "nothing is left without committing";

    // Relative paths are taken from the current folder, for a new file and a replaced one.
    wchar_t previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.wide(L"").c_str());
    EXPECT_TRUE(write_whole("relativo.def", "r1").ok()) << "new relative path";
    EXPECT_TRUE(write_whole("relativo.def", "r2").ok()) << "relative path that exists";
    // A device is written in place: no temporary file beside it, no replacing.
    EXPECT_TRUE(write_whole("NUL", "nada").ok()) << "the NUL device is written";
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(folder.names(), (std::vector<std::wstring>{name, L"relativo.def"}))
        << "NUL leaves nothing in the folder";
    EXPECT_EQ(read_file(folder.wide(L"relativo.def")), "r2") << "relative path";

    // Names as typed, in any script: the UTF-8 text becomes the wide-character name.
    const std::wstring wide_name = L"canci\u00f3n \u00f1and\u00fa \u20ac \u4e2d.def";
    EXPECT_TRUE(write_whole(folder.utf8(wide_name), "w").ok()) << "a name with accents and €";
    EXPECT_EQ(read_file(folder.wide(wide_name)), "w") << "a file with a Unicode name";
}

TEST(FileOutput, FailuresAreToldInSpanish) {
    Folder folder;
    const std::wstring locked = L"bloqueado.def";
    const std::wstring read_only = L"solo-lectura.def";
    EXPECT_TRUE(write_whole(folder.utf8(locked), "viejo").ok()) << "prepares the locked one";
    EXPECT_TRUE(write_whole(folder.utf8(read_only), "viejo").ok()) << "prepares the read-only one";
    SetFileAttributesW(folder.wide(read_only).c_str(), FILE_ATTRIBUTE_READONLY);
    // Another program holds the file open and lets nobody else in.
    HANDLE holder = CreateFileW(folder.wide(locked).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(holder != INVALID_HANDLE_VALUE) << "another program opens the file";

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
        EXPECT_EQ(status.ok() ? "was written" : status.reason(), c.reason) << c.path;
    }
    CloseHandle(holder);
    EXPECT_EQ(read_file(folder.wide(locked)), "viejo") << "the locked one is unchanged";
    EXPECT_EQ(read_file(folder.wide(read_only)), "viejo") << "the read-only one is unchanged";
    EXPECT_EQ(folder.names(), (std::vector<std::wstring>{locked, read_only}))
        << "the failures leave no temporary files";
}

TEST(Text, GoesToTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "code page " << GetACP() << ", not 1252";
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
        EXPECT_EQ(out, "previo:" + std::string(c.ansi))
            << "1252 de \"" + std::string(c.utf8) + "\"";
    }
}

TEST(Text, Utf16RoundTrip) {
    const std::string text =
        "A\xC3\xB1o \xE2\x82\xAC \xF0\x9F\x98\x80";  // includes a surrogate pair
    EXPECT_EQ(narrow(widen(text)), text) << "UTF-8 → UTF-16 → UTF-8";
    EXPECT_TRUE(widen(text).size() == 8) << "the smiling face takes two UTF-16 units";
    EXPECT_TRUE(!widen_exact("\xC3")) << "a cut sequence is not a name";
}

}  // namespace
}  // namespace tavrix::win32
