// Code page 932 on Windows: the system's own conversion tables and its own
// name order, so names sort as the desktop's folder windows sort them.
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/codepage.h"

namespace tabulon::platform {
namespace {

constexpr UINT kCodePage932 = 932;

// Code page bytes to UTF-16; empty when any byte does not convert.
std::wstring Widen(UINT code_page, std::string_view bytes, bool& ok) {
  ok = true;
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int wide = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS,
                                       bytes.data(), length, nullptr, 0);
  if (wide <= 0) {
    ok = false;
    return {};
  }
  std::wstring out(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), length,
                      out.data(), wide);
  return out;
}

// UTF-16 to code page bytes; `lossy` tells whether a character had no form
// there (the system then puts its default character in).
std::string Narrow(UINT code_page, std::wstring_view wide, bool* lossy) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  BOOL used_default = FALSE;
  BOOL* used = code_page == CP_UTF8 ? nullptr : &used_default;
  const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int size = WideCharToMultiByte(code_page, flags, wide.data(), length,
                                       nullptr, 0, nullptr, used);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), length, out.data(), size,
                      nullptr, used);
  if (lossy != nullptr) *lossy = used_default != FALSE;
  return out;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
  const int order = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                                   a.data(), static_cast<int>(a.size()),
                                   b.data(), static_cast<int>(b.size()));
  if (order == CSTR_LESS_THAN) return -1;
  if (order == CSTR_GREATER_THAN) return 1;
  // Equal to the system (or not comparable at all): the raw bytes decide,
  // so the order stays total.
  const int raw = a.compare(b);
  return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  bool ok = false;
  const std::wstring wide = Widen(kCodePage932, cp932, ok);
  if (ok) return Narrow(CP_UTF8, wide, nullptr);
  // Some character does not convert: one character at a time. A character
  // that fails shows one replacement for its first byte, and the next byte
  // is read afresh (it may begin a character of its own).
  static constexpr char kReplacement[] = "\xEF\xBF\xBD";
  std::string out;
  std::size_t i = 0;
  while (i < cp932.size()) {
    const std::size_t length = CharacterLength(cp932, i);
    const std::wstring one = Widen(kCodePage932, cp932.substr(i, length), ok);
    if (ok) {
      out += Narrow(CP_UTF8, one, nullptr);
      i += length;
    } else {
      out += kReplacement;
      i += 1;
    }
  }
  return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
  bool ok = false;
  const std::wstring wide = Widen(CP_UTF8, utf8, ok);
  bool lossy = false;
  std::string out = ok ? Narrow(kCodePage932, wide, &lossy) : std::string();
  if (!ok || lossy) {
    throw std::invalid_argument("text not representable in code page 932: " +
                                std::string(utf8));
  }
  return out;
}

bool TryUtf8ToCp932(std::string_view utf8, std::string& cp932,
                    std::string& missing) {
  cp932.clear();
  missing.clear();
  bool ok = false;
  const std::wstring wide = Widen(CP_UTF8, utf8, ok);
  bool lossy = false;
  if (ok) cp932 = Narrow(kCodePage932, wide, &lossy);
  if (ok && !lossy) return true;
  // Look for the culprit one character at a time (a surrogate pair is one
  // character).
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t length =
        std::min(utf8.size() - i,
                 Utf8CharacterLength(static_cast<unsigned char>(utf8[i])));
    const std::string_view one = utf8.substr(i, length);
    const std::wstring one_wide = Widen(CP_UTF8, one, ok);
    if (ok) Narrow(kCodePage932, one_wide, &lossy);
    if (!ok || lossy) {
      missing.assign(one);
      return false;
    }
    i += length;
  }
  missing = "?";  // the whole failed, no part alone: should not happen
  return false;
}

}  // namespace tabulon::platform
