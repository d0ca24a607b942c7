#include "ui/win32/session_files.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>

#include "app/menus.h"
#include "model/controls.h"
#include "storyboard/messages.h"
#include "system/text_win32.h"

namespace tavrix::win32 {
namespace {

constexpr wchar_t kFilter[] = L"Sesiones de Tavrix (*.tavrix)\0*.tavrix\0";
constexpr wchar_t kStoryboardFilter[] =
    L"Storyboard (*.def)\0*.def\0Todos los archivos (*.*)\0*.*\0";
constexpr wchar_t kCopyPrefix[] = L"sesion-sin-guardar-";
constexpr wchar_t kCopySuffix[] = L".tavrix";

std::wstring folder_of(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring recovery_folder() {
    wchar_t base[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    const std::wstring folder = std::wstring(base) + L"\\Tavrix";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    return folder;
}

bool process_running(DWORD id) {
    if (id == GetCurrentProcessId())
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, still there
    DWORD status = 0;
    const bool running = GetExitCodeProcess(process, &status) && status == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::wstring spanish_moment(FILETIME written) {
    static constexpr const wchar_t* kMonths[] = {
        L"enero", L"febrero", L"marzo",      L"abril",   L"mayo",      L"junio",
        L"julio", L"agosto",  L"septiembre", L"octubre", L"noviembre", L"diciembre"};
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t) ||
        t.wMonth < 1 || t.wMonth > 12)
        return L"(fecha desconocida)";
    wchar_t minutes[3];
    std::swprintf(minutes, 3, L"%02u", static_cast<unsigned>(t.wMinute));
    return std::to_wstring(t.wDay) + L" de " + kMonths[t.wMonth - 1] + L" de " +
           std::to_wstring(t.wYear) + L" a las " + std::to_wstring(t.wHour) + L":" + minutes;
}

// The process a copy's name ends in, if it is one of ours.
std::optional<DWORD> owner_of(const std::wstring& name) {
    const std::size_t prefix = std::wcslen(kCopyPrefix);
    const std::size_t suffix = std::wcslen(kCopySuffix);
    if (name.size() <= prefix + suffix)
        return std::nullopt;
    const std::wstring digits = name.substr(prefix, name.size() - prefix - suffix);
    if (digits.find_first_not_of(L"0123456789") != std::wstring::npos || digits.size() > 9)
        return std::nullopt;
    return static_cast<DWORD>(std::stoul(digits));
}

}  // namespace

std::optional<std::wstring> choose_session_file(HWND owner, FileChoice kind,
                                                const std::wstring& current) {
    // A storyboard is looked for in the session's folder, under no name of its own.
    const bool storyboard = kind == FileChoice::Storyboard;
    std::wstring path = storyboard ? std::wstring() : current;
    path.resize(32 * 1024, L'\0');
    const std::wstring folder = folder_of(current);
    const std::wstring import_title = widen(kImportCaption);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = storyboard ? kStoryboardFilter : kFilter;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = storyboard ? nullptr : L"tavrix";
    if (kind != FileChoice::Save) {
        dialog.lpstrTitle = storyboard ? import_title.c_str() : L"Abrir sesi\u00f3n";
        dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
        if (!GetOpenFileNameW(&dialog))
            return std::nullopt;
    } else {
        dialog.lpstrTitle = L"Guardar sesi\u00f3n";
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
        if (!GetSaveFileNameW(&dialog))
            return std::nullopt;
    }
    path.resize(std::wcslen(path.c_str()));
    return path;
}

int ask(HWND owner, const Question& question) {
    const std::wstring caption = widen(window_def().caption);  // as every message box's
    // "Cancelar" is a button of its own: the system would name its common one in its language.
    const std::wstring cancel = widen(kCancelButton);
    TASKDIALOG_BUTTON buttons[] = {
        {IDYES, question.yes.c_str()}, {IDNO, question.no.c_str()}, {IDCANCEL, cancel.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags =
        TDF_POSITION_RELATIVE_TO_WINDOW | (question.can_cancel ? TDF_ALLOW_DIALOG_CANCELLATION : 0);
    config.pszWindowTitle = caption.c_str();
    config.pszMainInstruction = question.text.c_str();
    config.cButtons = question.can_cancel ? 3 : 2;
    config.pButtons = buttons;
    config.nDefaultButton = IDYES;
    int answer = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &answer, nullptr, nullptr)))
        return IDCANCEL;
    return answer;
}

std::wstring own_recovery_copy() {
    const std::wstring folder = recovery_folder();
    if (folder.empty())
        return {};
    return folder + L"\\" + kCopyPrefix + std::to_wstring(GetCurrentProcessId()) + kCopySuffix;
}

std::vector<RecoveryCopy> orphaned_copies() {
    const std::wstring folder = recovery_folder();
    if (folder.empty())
        return {};
    struct Found {
        std::wstring path;
        FILETIME written;
    };
    std::vector<Found> found;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = folder + L"\\" + kCopyPrefix + L"*" + kCopySuffix;
    HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    do {
        const std::optional<DWORD> owner = owner_of(data.cFileName);
        if (owner && !process_running(*owner))
            found.push_back({folder + L"\\" + data.cFileName, data.ftLastWriteTime});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return CompareFileTime(&a.written, &b.written) > 0;
    });
    std::vector<RecoveryCopy> copies;
    for (const Found& copy : found)
        copies.push_back({copy.path, spanish_moment(copy.written)});
    return copies;
}

}  // namespace tavrix::win32
