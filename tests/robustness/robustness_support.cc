#include "robustness_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "platform/codepage.h"

namespace tabulon::test_support {
namespace {

std::string Escaped(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

// The character a lead byte and its trail make, or empty when code page 932
// has none there.
std::string DoubleByteCharacter(std::string_view pair) {
  const std::string utf8 = platform::Cp932ToUtf8(pair);
  if (utf8.find("\xEF\xBF\xBD") != std::string::npos) return {};
  return utf8;
}

}  // namespace

void RecordingListener::ChoiceSectionDone(int q,
                                          const survey::ChoiceCounts& counts) {
  std::string event = "choice " + std::to_string(q) + ":";
  for (int c = 1; c <= survey::kChoiceCount; ++c)
    event += " " + std::to_string(counts.At(q, c));
  events.push_back(event);
}

void RecordingListener::TextAnswerFound(int q, const std::string& text) {
  events.push_back("text " + std::to_string(q) + ": " + Readable(text));
}

std::string Readable(std::string_view cp932) {
  std::string out;
  for (size_t i = 0; i < cp932.size(); ++i) {
    const auto byte = static_cast<unsigned char>(cp932[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out += static_cast<char>(byte);
      continue;
    }
    if (platform::IsLeadByte(byte) && i + 1 < cp932.size()) {
      const std::string character = DoubleByteCharacter(cp932.substr(i, 2));
      if (!character.empty()) {
        out += character;
        ++i;
        continue;
      }
    }
    out += Escaped(byte);
  }
  return out;
}

std::vector<bool> DeleteEveryListedFile(text::AnswerFileList& list) {
  std::vector<bool> deleted;
  for (const std::string& name : std::vector<std::string>(list.Names())) {
    deleted.push_back(text::DeleteFile(name));
  }
  return deleted;
}

}  // namespace tabulon::test_support
