#include "answer_files.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <string_view>

#include "platform/codepage.h"

namespace tabulon::bench {
namespace {

// Eight choice questions of five choices, then two free-text questions.
constexpr std::string_view kKinds = "RCRCRRCRTT";
constexpr int kChoices = 5;

// "[" kind "]", or "[Q" number kind "]" for an answer file's section.
std::string Marker(std::string_view start, char kind) {
  std::string marker(start);
  marker += kind;
  marker += ']';
  return marker;
}

void WriteLines(const std::filesystem::path& path,
                const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> DefinitionLines() {
  const auto sjis = platform::Utf8ToCp932;
  std::vector<std::string> lines = {sjis("ベンチマーク用アンケート"),
                                    sjis("十問の調査"), ""};
  for (std::size_t q = 0; q < kKinds.size(); ++q) {
    lines.push_back(Marker("[", kKinds[q]) + sjis("質問") +
                    std::to_string(q + 1));
    if (kKinds[q] == 'T') continue;
    for (int c = 1; c <= kChoices; ++c)
      lines.push_back(sjis("選択肢") + std::to_string(c));
    lines.push_back("");
  }
  return lines;
}

std::vector<std::string> AnswerLines(int number, std::mt19937& random) {
  const auto sjis = platform::Utf8ToCp932;
  static const std::string kName = sjis("山田 太郎");
  static const std::string kText =
      sjis("楽しかったです。来年もよろしくお願いします");
  std::vector<std::string> lines = {"PC" + std::to_string(number),
                                    kName + std::to_string(number)};
  for (std::size_t q = 0; q < kKinds.size(); ++q) {
    lines.push_back(Marker("[Q" + std::to_string(q + 1), kKinds[q]));
    if (kKinds[q] == 'T') {
      lines.push_back(kText);
      continue;
    }
    const int picked = static_cast<int>(random() % kChoices);
    for (int c = 0; c < kChoices; ++c) {
      const bool chosen =
          c == picked || (kKinds[q] == 'C' && random() % 3 == 0);
      lines.push_back(chosen ? "1" : "0");
    }
    lines.push_back("[END]");
  }
  return lines;
}

}  // namespace

std::vector<std::string> WriteBenchSurvey(const std::filesystem::path& folder,
                                          int count) {
  WriteLines(folder / "data.txt", DefinitionLines());
  std::mt19937 random(42);
  std::vector<std::string> names;
  names.reserve(count);
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "PC%06d.ans",
                  i);  // list order is name order
    names.emplace_back(name);
    WriteLines(folder / name, AnswerLines(i, random));
  }
  return names;
}

}  // namespace tabulon::bench
