// Text for the system's wide (UTF-16) calls, which the answer program needs
// where typed text may hold what code page 932 cannot.
#ifndef TABULON_GUI_WIN32_WIN32_WIDE_TEXT_H_
#define TABULON_GUI_WIN32_WIN32_WIDE_TEXT_H_

#include <windows.h>

#include <string>
#include <string_view>

namespace tabulon::gui::win32 {

// Bytes in the code page (CP_UTF8, CP_ACP) as UTF-16; an invalid byte shows
// as the system's replacement.
std::wstring Widened(UINT code_page, std::string_view bytes);
// UTF-16 as UTF-8 (lone surrogates become U+FFFD).
std::string Utf8Of(std::wstring_view wide);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_WIDE_TEXT_H_
