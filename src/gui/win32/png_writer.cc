#include "gui/win32/png_writer.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace tabulon::gui::win32 {
namespace {

std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes)
    crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, std::string_view type, std::string_view data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::string body(type);
  body += data;
  out += body;
  PutBigEndian(out, Crc32(body));
}

// Deflate with the fixed Huffman codes, whose only matches are runs: a
// byte that repeats the one before it is sent as a match at distance 1.
class RunDeflater {
 public:
  std::string Deflate(std::string_view data) {
    PutBits(1, 1);  // the last block
    PutBits(1, 2);  // fixed Huffman codes
    std::size_t i = 0;
    while (i < data.size()) {
      std::size_t run = 0;
      while (i > 0 && i + run < data.size() && run < 258 &&
             data[i + run] == data[i - 1]) {
        ++run;
      }
      if (run >= 3) {
        PutLength(static_cast<int>(run));
        PutBits(0, 5);  // distance 1: code 0, no extra bits
        i += run;
        continue;
      }
      PutLiteral(static_cast<unsigned char>(data[i]));
      ++i;
    }
    PutCode(0, 7);  // end of block: symbol 256
    if (bit_count_ > 0) out_ += static_cast<char>(bits_);
    return out_;
  }

 private:
  // Extra bits and base values go least significant bit first.
  void PutBits(std::uint32_t value, int count) {
    for (int k = 0; k < count; ++k) PutBit((value >> k) & 1);
  }
  // Huffman codes go most significant bit first.
  void PutCode(std::uint32_t code, int length) {
    for (int k = length - 1; k >= 0; --k) PutBit((code >> k) & 1);
  }
  void PutBit(std::uint32_t bit) {
    bits_ |= bit << bit_count_;
    if (++bit_count_ == 8) {
      out_ += static_cast<char>(bits_);
      bits_ = 0;
      bit_count_ = 0;
    }
  }
  void PutSymbol(int symbol) {
    if (symbol < 144) return PutCode(0x30 + symbol, 8);
    if (symbol < 256) return PutCode(0x190 + symbol - 144, 9);
    if (symbol < 280) return PutCode(symbol - 256, 7);
    PutCode(0xC0 + symbol - 280, 8);
  }
  void PutLiteral(unsigned char byte) { PutSymbol(byte); }
  void PutLength(int length) {
    static constexpr int kBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1,
                                     1, 1, 2, 2, 2, 2, 3, 3, 3, 3,
                                     4, 4, 4, 4, 5, 5, 5, 5, 0};
    int code = 28;
    while (kBase[code] > length) --code;
    PutSymbol(257 + code);
    PutBits(static_cast<std::uint32_t>(length - kBase[code]), kExtra[code]);
  }

  std::string out_;
  std::uint32_t bits_ = 0;
  int bit_count_ = 0;
};

std::uint32_t Adler32(std::string_view bytes) {
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

}  // namespace

std::string EncodePng(int width, int height,
                      const std::vector<std::uint32_t>& rgb) {
  // Each row: filter "Sub" (every byte less the one three bytes before).
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * width));
  for (int y = 0; y < height; ++y) {
    raw += '\x01';
    unsigned char left[3] = {0, 0, 0};
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = rgb[static_cast<std::size_t>(y) * width + x];
      const unsigned char here[3] = {static_cast<unsigned char>(pixel >> 16),
                                     static_cast<unsigned char>(pixel >> 8),
                                     static_cast<unsigned char>(pixel)};
      for (int k = 0; k < 3; ++k) {
        raw += static_cast<char>(here[k] - left[k]);
        left[k] = here[k];
      }
    }
  }
  std::string zlib = "\x78\x01";
  zlib += RunDeflater().Deflate(raw);
  PutBigEndian(zlib, Adler32(raw));

  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace tabulon::gui::win32
