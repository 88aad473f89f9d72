// Code page 932 on Windows: the system's own conversion tables and its own
// name order, so names sort as the desktop's folder windows sort them.
#include <windows.h>

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

// UTF-8 to UTF-16, a malformed sequence becoming U+FFFD.
std::wstring WidenLenient(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int wide =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), wide);
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

// The system converts at most INT_MAX units at a time; a huge text goes in
// pieces of this many bytes, each cut where a character begins.
constexpr std::size_t kPiece = 1 << 20;

// Where a piece of at most kPiece bytes at the front of `bytes` ends: not
// inside a UTF-8 sequence (before a continuation byte) nor between the two
// halves of a UTF-16 surrogate pair.
std::size_t PieceEnd(std::string_view bytes, UnicodeForm form) {
  if (bytes.size() <= kPiece) return bytes.size();
  std::size_t end = kPiece;
  if (form == UnicodeForm::kUtf8) {
    for (int back = 0; back < 3; ++back) {
      if ((static_cast<unsigned char>(bytes[end]) & 0xC0) != 0x80) break;
      --end;
    }
    return end;
  }
  const std::size_t high = form == UnicodeForm::kUtf16Le ? end - 1 : end - 2;
  const bool pair_split =
      (static_cast<unsigned char>(bytes[high]) & 0xFC) == 0xD8;
  return pair_split ? end - 2 : end;
}

// UTF-16 code units of a UTF-16 text; an odd last byte is left over.
std::wstring Utf16Units(std::string_view bytes, UnicodeForm form) {
  std::wstring units(bytes.size() / 2, L'\0');
  const int low = form == UnicodeForm::kUtf16Le ? 0 : 1;
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<wchar_t>(
        static_cast<unsigned char>(bytes[2 * i + low]) |
        static_cast<unsigned char>(bytes[2 * i + 1 - low]) << 8);
  }
  return units;
}

// True when units i and i + 1 are the two halves of one character.
bool IsPair(std::wstring_view wide, std::size_t i) {
  return i + 1 < wide.size() && IS_HIGH_SURROGATE(wide[i]) &&
         IS_LOW_SURROGATE(wide[i + 1]);
}

// UTF-16 to CP932 with the stand-in for what has no form there: the system
// converts the whole; where it had to use its default character, the text
// is halved until short runs are left, which go a character at a time.
void NarrowWithGeta(std::wstring_view wide, std::string& out) {
  constexpr std::size_t kShortRun = 64;
  bool lossy = false;
  std::string narrow = Narrow(kCodePage932, wide, &lossy);
  if (!lossy) {
    out += narrow;
    return;
  }
  if (wide.size() <= kShortRun) {
    for (std::size_t i = 0; i < wide.size();) {
      const std::size_t length = IsPair(wide, i) ? 2 : 1;
      narrow = Narrow(kCodePage932, wide.substr(i, length), &lossy);
      out += lossy ? std::string(kGetaMark) : narrow;
      i += length;
    }
    return;
  }
  std::size_t half = wide.size() / 2;
  if (IsPair(wide, half - 1)) ++half;  // keeps a pair together
  NarrowWithGeta(wide.substr(0, half), out);
  NarrowWithGeta(wide.substr(half), out);
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

bool IsWellFormedUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t end = PieceEnd(bytes, UnicodeForm::kUtf8);
    bool ok = false;
    Widen(CP_UTF8, bytes.substr(0, end), ok);
    if (!ok) return false;
    bytes.remove_prefix(end);
  }
  return true;
}

void UnicodeToCp932(std::string_view bytes, UnicodeForm form,
                    std::string& out) {
  const bool odd_byte_left = form != UnicodeForm::kUtf8 && bytes.size() % 2;
  out.reserve(out.size() + bytes.size());
  while (!bytes.empty()) {
    const std::size_t end = PieceEnd(bytes, form);
    const std::string_view piece = bytes.substr(0, end);
    // Without MB_ERR_INVALID_CHARS the system puts U+FFFD where a sequence
    // is malformed, and U+FFFD has no CP932 form.
    const std::wstring wide = form == UnicodeForm::kUtf8
                                  ? WidenLenient(piece)
                                  : Utf16Units(piece, form);
    NarrowWithGeta(wide, out);
    bytes.remove_prefix(end);
  }
  if (odd_byte_left) out += kGetaMark;
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

}  // namespace tabulon::platform
