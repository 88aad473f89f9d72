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

std::string HelpText() {
  std::vector<HelpLine> options = {
      {"-h, --help", "Displays help on commandline options."},
      {"-v, --version", "Displays version information."}};
  for (const StartOption& option : kStartOptions) {
    options.push_back({"--" + std::string(option.name), option.help});
  }
  std::string text = "Usage: tabulon [options] [";
  text.append(kFolderArgument);
  text += "]\n";
  text.append(kProgramDescription);
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

std::string VersionText() { return "tabulon " TABULON_VERSION "\n"; }

StartRequest ExitWith(int status, std::string output, std::string error) {
  StartRequest request;
  request.exit_now = true;
  request.exit_status = status;
  request.output = std::move(output);
  request.error = std::move(error);
  return request;
}

StartRequest UsageError(std::string_view what) {
  return ExitWith(kExitStartFailure, "",
                  "tabulon: " + std::string(what) +
                      "\nTry 'tabulon --help' for more information.\n");
}

std::string FolderFailure(std::string_view folder, std::string_view reason) {
  return "tabulon: cannot work in the folder \"" + std::string(folder) +
         "\": " + std::string(reason) + "\n";
}

}  // namespace tabulon::app
