#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <stdexcept>

#include "platform/codepage.h"

namespace tabulon::platform {
namespace {

// The rank of a byte's class in the name order; within a class bytes compare
// by value (letters after folding case).
constexpr int ClassRank(unsigned char byte) {
  if (byte < 0x20 || byte == 0x7F) return 0;
  if (byte >= 0x80) return 4;
  if (byte >= '0' && byte <= '9') return 2;
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')) return 3;
  return 1;
}

// Every byte's key, looked up: listing thousands of answer files sorts on
// it.
constexpr std::array<int, 256> kSortKeys = [] {
  std::array<int, 256> keys{};
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    keys[byte] =
        ClassRank(byte) * 256 +
        static_cast<unsigned char>(UpperCaseLetter(static_cast<char>(byte)));
  }
  return keys;
}();

int SortKey(unsigned char byte) { return kSortKeys[byte]; }

// An iconv descriptor that closes itself.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from +
                               " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of `in` as it can, appending to `out`. Returns the
  // errno that stopped it (0 when all of `in` was converted) and leaves `in`
  // at the first byte not converted.
  int Convert(std::string_view& in, std::string& out) {
    return Run(in,
               [&](const char* data, size_t size) { out.append(data, size); });
  }

  // True when all of `in` converts; what it converts to is not kept.
  bool ConvertsWhole(std::string_view in) {
    return Run(in, [](const char*, size_t) {}) == 0;
  }

  // The length of the one character at the front of `in` (not empty), as
  // this converter reads it: 0 when it is malformed or cut off. The target
  // must be a fixed four bytes a character.
  size_t FirstCharacterLength(std::string_view in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char one[4];
    char* in_pointer = const_cast<char*>(in.data());
    size_t in_left = in.size();
    char* out_pointer = one;
    size_t out_left = sizeof one;
    iconv(cd_, &in_pointer, &in_left, &out_pointer, &out_left);
    return out_left == 0 ? in.size() - in_left : 0;
  }

 private:
  // Converts through a buffer, handing each piece of output to `sink`.
  template <typename Sink>
  int Run(std::string_view& in, Sink sink) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the start state
    char buffer[4096];
    while (!in.empty()) {
      char* in_pointer = const_cast<char*>(in.data());
      size_t in_left = in.size();
      char* out_pointer = buffer;
      size_t out_left = sizeof buffer;
      size_t result =
          iconv(cd_, &in_pointer, &in_left, &out_pointer, &out_left);
      int error = result == static_cast<size_t>(-1) ? errno : 0;
      sink(buffer, static_cast<size_t>(out_pointer - buffer));
      in.remove_prefix(in.size() - in_left);
      if (error != 0 && error != E2BIG) return error;
    }
    return 0;
  }

  iconv_t cd_;
};

const char* IconvName(UnicodeForm form) {
  switch (form) {
    case UnicodeForm::kUtf16Le:
      return "UTF-16LE";
    case UnicodeForm::kUtf16Be:
      return "UTF-16BE";
    case UnicodeForm::kUtf8:
      break;
  }
  return "UTF-8";
}

// The converters of one Unicode form: to CP932, and to UTF-32, which tells
// how long the character is that CP932 has no form for.
struct FormConverters {
  explicit FormConverters(UnicodeForm form)
      : to_cp932("CP932", IconvName(form)),
        to_utf32("UTF-32LE", IconvName(form)),
        unit(form == UnicodeForm::kUtf8 ? 1 : 2) {}
  Converter to_cp932;
  Converter to_utf32;
  size_t unit;  // bytes of a code unit: what a malformed sequence loses
};

FormConverters& ConvertersFor(UnicodeForm form) {
  thread_local FormConverters utf8(UnicodeForm::kUtf8);
  thread_local FormConverters utf16_le(UnicodeForm::kUtf16Le);
  thread_local FormConverters utf16_be(UnicodeForm::kUtf16Be);
  if (form == UnicodeForm::kUtf16Le) return utf16_le;
  if (form == UnicodeForm::kUtf16Be) return utf16_be;
  return utf8;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;  // the same byte has the same key
    int difference = SortKey(static_cast<unsigned char>(a[i])) -
                     SortKey(static_cast<unsigned char>(b[i]));
    if (difference != 0) return difference < 0 ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int raw = a.compare(b);
  if (raw == 0) return 0;
  // std::string_view compares char as unsigned through char_traits, which is
  // what a total order on raw bytes needs.
  return raw < 0 ? -1 : 1;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  static constexpr char kReplacement[] = "\xEF\xBF\xBD";
  // Captions are converted at every paint: keep the descriptor.
  thread_local Converter converter("UTF-8", "CP932");
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  while (!cp932.empty()) {
    if (converter.Convert(cp932, out) == 0) break;
    // An invalid or cut-off sequence: show one replacement for its first
    // byte and go on with the next.
    out += kReplacement;
    cp932.remove_prefix(1);
  }
  return out;
}

bool IsWellFormedUtf8(std::string_view bytes) {
  return ConvertersFor(UnicodeForm::kUtf8).to_utf32.ConvertsWhole(bytes);
}

void UnicodeToCp932(std::string_view bytes, UnicodeForm form,
                    std::string& out) {
  FormConverters& converters = ConvertersFor(form);
  out.reserve(out.size() + bytes.size());
  while (!bytes.empty()) {
    if (converters.to_cp932.Convert(bytes, out) == 0) break;
    // A character CP932 lacks goes whole; a malformed one a code unit at a
    // time, so the next character is read afresh.
    out += kGetaMark;
    const size_t length = converters.to_utf32.FirstCharacterLength(bytes);
    bytes.remove_prefix(length != 0 ? length
                                    : std::min(converters.unit, bytes.size()));
  }
}

std::string Utf8ToCp932(std::string_view utf8) {
  thread_local Converter converter("CP932", "UTF-8");
  std::string out;
  std::string_view in = utf8;
  if (converter.Convert(in, out) != 0) {
    throw std::invalid_argument("text not representable in code page 932: " +
                                std::string(utf8));
  }
  return out;
}

}  // namespace tabulon::platform
