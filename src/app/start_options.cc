#include "app/start_options.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tabulon::app {
namespace {

// A help line: the option's spelling padded to one column, then its help,
// wrapped to the terminal's customary 79 columns.
struct HelpLine {
  std::string spelling;
  std::string_view help;
};

constexpr std::size_t kHelpWidth = 79;

constexpr char kTallyDescription[] =
    "Tabulon: the tally sheet for a school questionnaire. It works on one\n"
    "folder, which holds data.txt (the questionnaire) and the pupils'\n"
    "answer files (*.ans), and writes the results file there.";
constexpr char kAnswerDescription[] =
    "tabulon-answer: the pupils' side of a Tabulon questionnaire. Started in\n"
    "the folder that holds data.txt, it shows the questionnaire as a form\n"
    "and saves the answers there as <computer name>.ans for the tally.";

std::string Columns(const std::vector<HelpLine>& lines, std::size_t width) {
  const std::string indent(2 + width + 2, ' ');
  std::string text;
  for (const HelpLine& line : lines) {
    std::string row = "  " + line.spelling;
    row.append(indent.size() - row.size(), ' ');
    std::size_t at = 0;
    while (at < line.help.size()) {
      std::size_t end =
          std::min(line.help.size(), at + kHelpWidth - indent.size());
      if (end < line.help.size()) end = line.help.rfind(' ', end) + 1;
      if (end <= at) end = line.help.size();
      std::string_view piece = line.help.substr(at, end - at);
      while (piece.ends_with(' ')) piece.remove_suffix(1);
      text += row;
      text.append(piece);
      text += '\n';
      row = indent;
      at = end;
    }
  }
  return text;
}

}  // namespace

const StartOption* FindOption(Program program, std::string_view name) {
  for (const StartOption& option : kStartOptions) {
    if (option.program == program && option.name == name) return &option;
  }
  return nullptr;
}

std::string_view NameOf(Program program) {
  return program == Program::kAnswer ? "tabulon-answer" : "tabulon";
}

std::string HelpText(Program program) {
  std::vector<HelpLine> options = {
      {"-h, --help", "Displays help on commandline options."},
      {"-v, --version", "Displays version information."}};
  for (const StartOption& option : kStartOptions) {
    if (option.program != program) continue;
    options.push_back({"--" + std::string(option.name), option.help});
  }
  std::string text = "Usage: ";
  text.append(NameOf(program));
  text += " [options] [";
  text.append(kFolderArgument);
  text += "]\n";
  text += program == Program::kAnswer ? kAnswerDescription : kTallyDescription;
  std::vector<HelpLine> arguments = {
      {std::string(kFolderArgument), kFolderHelp}};
  std::size_t width = 0;
  for (const std::vector<HelpLine>* lines : {&options, &arguments}) {
    for (const HelpLine& line : *lines) {
      width = std::max(width, line.spelling.size());
    }
  }
  text += "\n\nOptions:\n" + Columns(options, width) + "\nArguments:\n" +
          Columns(arguments, width);
  return text;
}

std::string VersionText(Program program) {
  return std::string(NameOf(program)) + " " TABULON_VERSION "\n";
}

StartRequest ExitWith(int status, std::string output, std::string error) {
  StartRequest request;
  request.exit_now = true;
  request.exit_status = status;
  request.output = std::move(output);
  request.error = std::move(error);
  return request;
}

StartRequest UsageError(Program program, std::string_view what) {
  const std::string name(NameOf(program));
  return ExitWith(kExitStartFailure, "",
                  name + ": " + std::string(what) + "\nTry '" + name +
                      " --help' for more information.\n");
}

std::string FolderFailure(Program program, std::string_view folder,
                          std::string_view reason) {
  return std::string(NameOf(program)) + ": cannot work in the folder \"" +
         std::string(folder) + "\": " + std::string(reason) + "\n";
}

}  // namespace tabulon::app
