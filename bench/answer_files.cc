#include "answer_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <random>
#include <string_view>

#include "platform/codepage.h"

namespace tabulon::bench {
namespace {

// The questions' kinds and numbers of choices, as in the sample survey:
// choice questions of four and five choices and two free-text questions.
struct Shape {
  char kind;
  int choices;
};
constexpr std::array<Shape, 7> kQuestions = {
    {{'R', 4}, {'R', 5}, {'C', 5}, {'T', 0}, {'R', 4}, {'C', 5}, {'T', 0}}};

constexpr std::array<std::string_view, 8> kFamilyNames = {
    "山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村"};
constexpr std::array<std::string_view, 8> kGivenNames = {
    "太郎", "花子", "健", "陽菜", "翔太", "さくら", "大輝", "結衣"};
// Free-text answers of different lengths; an empty one is common.
constexpr std::array<std::string_view, 6> kTexts = {
    "",
    "修学旅行で見た景色",
    "合唱コンクールで優勝したこと",
    "図書室をもっと使いたいです",
    "体育祭のリレーで一位になったことがいちばんの思い出です",
    "特になし"};

void WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) !=
                    static_cast<ssize_t>(bytes.size())) {
    std::perror(path.c_str());
    std::exit(1);
  }
  close(fd);
}

void Line(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

std::string Definition() {
  const auto sjis = platform::Utf8ToCp932;
  std::string out;
  Line(out, sjis("２年１組　学校生活アンケート"));
  Line(out, sjis("この一年間の学校生活について答えてください。"));
  Line(out, "");
  for (std::size_t q = 0; q < kQuestions.size(); ++q) {
    const Shape shape = kQuestions[q];
    Line(out, std::string("[") + shape.kind + "]" + sjis("質問") +
                  std::to_string(q + 1));
    for (int c = 1; c <= shape.choices; ++c)
      Line(out, sjis("選択肢") + std::to_string(c));
    if (shape.kind != 'T') Line(out, "");
  }
  return out;
}

std::string Answers(int number, std::mt19937& random) {
  const auto sjis = platform::Utf8ToCp932;
  static const std::vector<std::string> kNames = [&] {
    std::vector<std::string> names;
    for (std::string_view family : kFamilyNames) {
      for (std::string_view given : kGivenNames)
        names.push_back(sjis(std::string(family) + " " + std::string(given)));
    }
    return names;
  }();
  static const std::vector<std::string> kCp932Texts = [&] {
    std::vector<std::string> texts;
    for (std::string_view text : kTexts) texts.push_back(sjis(text));
    return texts;
  }();
  char computer[16];
  std::snprintf(computer, sizeof computer, "PC%06d", number);
  std::string out;
  Line(out, computer);
  Line(out, kNames[random() % kNames.size()]);
  for (std::size_t q = 0; q < kQuestions.size(); ++q) {
    const Shape shape = kQuestions[q];
    Line(out, "[Q" + std::to_string(q + 1) + shape.kind + "]");
    if (shape.kind == 'T') {
      Line(out, kCp932Texts[random() % kCp932Texts.size()]);
      continue;
    }
    const int picked = static_cast<int>(random() % shape.choices);
    for (int c = 0; c < shape.choices; ++c) {
      const bool chosen =
          c == picked || (shape.kind == 'C' && random() % 3 == 0);
      Line(out, chosen ? "1" : "0");
    }
    Line(out, "[END]");
  }
  return out;
}

}  // namespace

std::vector<std::string> WriteBenchSurvey(const std::filesystem::path& folder,
                                          int count) {
  WriteWhole(folder / "data.txt", Definition());
  std::mt19937 random(42);
  std::vector<std::string> names;
  names.reserve(count);
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "PC%06d.ans", i);  // list order
    names.emplace_back(name);
    WriteWhole(folder / name, Answers(i, random));
  }
  return names;
}

}  // namespace tabulon::bench
