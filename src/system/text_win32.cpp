#include <windows.h>

#include <climits>

#include "common/encoding.h"
#include "system/text_win32.h"

namespace tavrix {
namespace {

int wide_length(std::size_t size) {
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

std::wstring widen_with(std::string_view utf8, DWORD flags, bool& ok) {
    ok = true;
    if (utf8.empty())
        return {};
    const int length = wide_length(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), length, nullptr, 0);
    if (needed <= 0) {
        ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, flags, utf8.data(), length, wide.data(), needed);
    return wide;
}

// Appends UTF-16 text in a code page; what the code page lacks becomes "?" (a whole
// `one_character` just one).
void append_in_code_page(UINT code_page, std::wstring_view wide, std::string& out,
                         bool one_character = false) {
    if (wide.empty())
        return;
    const int length = wide_length(wide.size());
    // No "best fit": a character the code page lacks is "?", never a look-alike letter.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const char kUnmappable = '?';
    BOOL lacking = FALSE;
    const int needed = WideCharToMultiByte(code_page, flags, wide.data(), length, nullptr, 0,
                                           &kUnmappable, &lacking);
    if (needed <= 0 || (one_character && lacking)) {
        out.append(one_character ? 1 : wide.size(), '?');
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(needed));
    WideCharToMultiByte(code_page, flags, wide.data(), length, out.data() + start, needed,
                        &kUnmappable, nullptr);
}

}  // namespace

std::wstring widen(std::string_view utf8) {
    bool ok = false;
    return widen_with(utf8, 0, ok);
}

std::optional<std::wstring> widen_exact(std::string_view utf8) {
    bool ok = false;
    std::wstring wide = widen_with(utf8, MB_ERR_INVALID_CHARS, ok);
    if (!ok)
        return std::nullopt;
    return wide;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int length = wide_length(utf16.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

void append_active_code_page(std::string_view utf8, std::string& out) {
    if (is_ascii(utf8)) {  // every ANSI code page holds ASCII as it is
        out.append(utf8);
        return;
    }
    const UINT code_page = GetACP();
    if (code_page == CP_UTF8) {
        out.append(utf8);
        return;
    }
    // The conversion works on whole characters: a character beyond U+FFFF that the code page
    // lacks is one "?", never one for each of its two UTF-16 halves.
    const std::wstring converted = widen(utf8);
    const std::wstring_view wide = converted;
    std::size_t run = 0;  // the start of the characters not yet converted
    for (std::size_t at = 0; at + 1 < wide.size(); ++at) {
        if (IS_HIGH_SURROGATE(wide[at]) && IS_LOW_SURROGATE(wide[at + 1])) {
            append_in_code_page(code_page, wide.substr(run, at - run), out);
            append_in_code_page(code_page, wide.substr(at, 2), out, /*one_character=*/true);
            run = ++at + 1;
        }
    }
    append_in_code_page(code_page, wide.substr(run), out);
}

}  // namespace tavrix
