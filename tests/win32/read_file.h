// What the Windows test programs share: a file's bytes read through the wide-character calls.
#pragma once

#include <windows.h>

#include <string>

namespace tavrix::win32::testing {

// The bytes of a file, or "(missing)" when it cannot be opened.
inline std::string read_file(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(missing)";
    std::string bytes;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace tavrix::win32::testing
