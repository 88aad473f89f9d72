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
      out.append(buffer, static_cast<size_t>(out_pointer - buffer));
      in.remove_prefix(in.size() - in_left);
      if (error != 0 && error != E2BIG) return error;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

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

bool TryUtf8ToCp932(std::string_view utf8, std::string& cp932,
                    std::string& missing) {
  thread_local Converter converter("CP932", "UTF-8");
  cp932.clear();
  missing.clear();
  std::string_view in = utf8;
  if (converter.Convert(in, cp932) == 0) return true;
  // `in` starts at the character that stopped the conversion.
  const std::size_t length = std::min(
      in.size(), Utf8CharacterLength(static_cast<unsigned char>(in[0])));
  missing.assign(in.substr(0, length));
  return false;
}

}  // namespace tabulon::platform
