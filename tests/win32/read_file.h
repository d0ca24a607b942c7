// A few lines of test harness for the Windows test programs, which run under Wine where the
// Linux test framework is not available.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace tavrix::win32::testing {

class Checks {
  public:
    // Records one check; a failure is told with `what` and, when given, what was found.
    bool expect(bool ok, std::string_view what, std::string_view found = {}) {
        ++count_;
        if (!ok) {
            ++failed_;
            std::fprintf(stderr, "FAILED: %.*s", static_cast<int>(what.size()), what.data());
            if (!found.empty())
                std::fprintf(stderr, " (found: %.*s)", static_cast<int>(found.size()),
                             found.data());
            std::fputc('\n', stderr);
        }
        return ok;
    }

    bool expect_equal(std::string_view found, std::string_view wanted, std::string_view what) {
        return expect(found == wanted, std::string(what).append(" = ").append(quoted(wanted)),
                      quoted(found));
    }

    // The exit status of the test program: 0 when every check held.
    int finish(std::string_view program) const {
        std::printf("%.*s: %d checks, %d failed\n", static_cast<int>(program.size()),
                    program.data(), count_, failed_);
        return failed_ == 0 ? 0 : 1;
    }

  private:
    static std::string quoted(std::string_view text) {
        std::string out(1, '"');
        return out.append(text).append(1, '"');
    }

    int count_ = 0;
    int failed_ = 0;
};

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
