#include "gui/win32/win32_wide_text.h"

namespace tabulon::gui::win32 {

std::wstring Widened(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size =
      MultiByteToWideChar(code_page, 0, bytes.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), length, wide.data(), size);
  return wide;
}

std::string Utf8Of(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr,
                                       0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace tabulon::gui::win32
