#include "survey/answer_file.h"

#include <cstdint>
#include <random>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/new_name.h"
#include "text/failure.h"
#include "text/markers.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

constexpr char kEndLine[] = "[END]";
constexpr char kExtension[] = ".ans";
// Numbers beyond this mean something else is wrong with the folder.
constexpr int kLastNumber = 100000;

bool CannotStandInFileName(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (value < 0x20 || value == 0x7F) return true;
  for (char bad : {'\\', '/', ':', '*', '?', '"', '<', '>', '|'}) {
    if (byte == bad) return true;
  }
  return false;
}

// The computer name as a file name's stem. A double-byte character's second
// byte may be 0x5C ("\") or 0x7C ("|"), and is kept: it is no separator.
std::string FileNameStem(std::string_view computer_name) {
  std::string stem;
  for (std::size_t i = 0; i < computer_name.size();) {
    const std::size_t length = platform::CharacterLength(computer_name, i);
    if (length == 1 && CannotStandInFileName(computer_name[i])) {
      stem.push_back('_');
    } else {
      stem.append(computer_name.substr(i, length));
    }
    i += length;
  }
  return stem.empty() ? "_" : stem;
}

void AppendChoiceSection(const Question& question, const QuestionAnswer& answer,
                         std::vector<std::string>& lines) {
  for (int c = 1; c <= ChoicesOffered(question); ++c) {
    lines.push_back(answer.chosen.at(c - 1) ? "1" : "0");
  }
  lines.push_back(kEndLine);
}

// A name for the finished file before it gets its number: beside it, never
// matching "*.ans", and the same for no two programs.
std::string StagingName(std::string_view stem) {
  std::random_device random;
  const std::uint64_t token =
      (std::uint64_t{random()} << 32) ^ std::uint64_t{random()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string name = "~" + std::string(stem) + "-";
  for (int shift = 60; shift >= 0; shift -= 4) {
    name.push_back(kDigits[(token >> shift) & 0xF]);
  }
  return name + ".tmp";
}

}  // namespace

int ChoicesOffered(const Question& question) {
  int offered = 0;
  while (offered < kChoiceCount && !question.choices[offered].empty()) {
    ++offered;
  }
  return offered;
}

std::string AsOneLine(std::string_view cp932) {
  std::string line;
  line.reserve(cp932.size() + 1);
  // CP932's second bytes are 0x40 and above, so control bytes are always
  // characters of their own. Every one becomes a space, not only the breaks:
  // byte 26 at the start of a line would end the file for the tally.
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    const auto byte = static_cast<unsigned char>(cp932[i]);
    if (byte == '\r' && i + 1 < cp932.size() && cp932[i + 1] == '\n') ++i;
    const bool control = byte < 0x20 || byte == 0x7F;
    line.push_back(control ? ' ' : cp932[i]);
  }
  if (text::BeginsWithMarker(line, "[Q")) line.insert(0, " ");
  return line;
}

std::vector<std::string> AnswerFileLines(const Questionnaire& questionnaire,
                                         const Answers& answers) {
  std::vector<std::string> lines = {AsOneLine(answers.computer_name),
                                    AsOneLine(answers.respondent_name)};
  for (int q = 1; q <= kQuestionCount && questionnaire.At(q).InUse(); ++q) {
    const Question& question = questionnaire.At(q);
    lines.push_back("[Q" + std::to_string(q) + question.kind + "]");
    if (question.IsChoice()) {
      AppendChoiceSection(question, answers.At(q), lines);
    } else {
      lines.push_back(AsOneLine(answers.At(q).text));
    }
  }
  return lines;
}

std::string AnswerFileName(std::string_view computer_name) {
  return FileNameStem(computer_name) + kExtension;
}

std::string NumberedAnswerFileName(std::string_view computer_name, int k) {
  return FileNameStem(computer_name) + "-" + std::to_string(k) + kExtension;
}

bool AnswerFileExists(const std::string& name) {
  return !platform::FindFiles(name).empty();
}

void WriteAnswerFile(const std::string& name,
                     const std::vector<std::string>& lines) {
  text::TextOutputFile file;
  file.Create(name);
  for (const std::string& line : lines) {
    file.Write(line);
    file.EndLine();
  }
  file.Close();
}

std::string WriteNumberedAnswerFile(std::string_view computer_name,
                                    const std::vector<std::string>& lines) {
  // Complete under a private name first; only then does it take a number,
  // in one step that fails for a number another program took.
  const std::string staging = StagingName(FileNameStem(computer_name));
  WriteAnswerFile(staging, lines);
  for (int k = 1; k <= kLastNumber; ++k) {
    const std::string name = NumberedAnswerFileName(computer_name, k);
    const int code = platform::MoveToNewName(staging, name);
    if (code == platform::kNoError) return name;
    if (code == platform::kFileExists) continue;
    platform::DeleteFileByName(staging);
    throw text::InputOutputFailure(code);
  }
  platform::DeleteFileByName(staging);
  throw text::InputOutputFailure(platform::kFileExists);
}

}  // namespace tabulon::survey
