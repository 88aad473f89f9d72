#include "app/start_up.h"

#include <errno.h>
#include <unistd.h>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tabulon::app {
namespace {

// Qt's own start-up arguments (QGuiApplication and QApplication), those
// followed by a value and those that stand alone. The desktop may start a
// program with them; Qt takes them out once the application exists.
constexpr const char* kQtOptionsWithValue[] = {"platform",
                                               "platformpluginpath",
                                               "platformtheme",
                                               "plugin",
                                               "qwindowgeometry",
                                               "qwindowicon",
                                               "qwindowtitle",
                                               "session",
                                               "display",
                                               "geometry",
                                               "name",
                                               "title",
                                               "visual",
                                               "style",
                                               "stylesheet",
                                               "qmljsdebugger",
                                               "dialogs",
                                               "fontengine"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb",
                                    "dograb", "sync"};

constexpr char kAnswerDescription[] =
    "tabulon-answer: the pupils' side of a Tabulon questionnaire. Started in\n"
    "the folder that holds data.txt, it shows the questionnaire as a form\n"
    "and saves the answers there as <computer name>.ans for the tally.";

const char* NameOf(Program program) {
  return program == Program::kAnswer ? "tabulon-answer" : "tabulon";
}

constexpr char kDescription[] =
    "Tabulon: the tally sheet for a school questionnaire. It works on one\n"
    "folder, which holds data.txt (the questionnaire) and the pupils'\n"
    "answer files (*.ans), and writes the results file there.";

QString Local(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(),
                                static_cast<qsizetype>(bytes.size()));
}

StartRequest Exit(int status, std::string output, std::string error) {
  StartRequest request;
  request.exit_now = true;
  request.exit_status = status;
  request.output = std::move(output);
  request.error = std::move(error);
  return request;
}

StartRequest UsageError(Program program, const QString& what) {
  const std::string name = NameOf(program);
  return Exit(kExitStartFailure, "",
              name + ": " + what.toStdString() + "\nTry '" + name +
                  " --help' for more information.\n");
}

// Qt's own start-up options are known to the parser, so they are neither
// refused nor taken for a FOLDER, and left for Qt; help does not list them.
void AcceptQtsOwnOptions(QCommandLineParser& parser) {
  for (const char* qt_option : kQtOptionsWithValue) {
    QCommandLineOption option(qt_option, "", "value");
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* qt_flag : kQtFlags) {
    QCommandLineOption option(qt_flag);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
}

}  // namespace

StartRequest ReadCommandLine(const std::vector<std::string>& arguments,
                             Program program) {
  // The parser's help names the program after the running application's
  // first argument; a core application needs no display.
  int argc = 1;
  std::string name = NameOf(program);
  char* argv[] = {name.data(), nullptr};
  const bool own_application = QCoreApplication::instance() == nullptr;
  std::unique_ptr<QCoreApplication> application;
  if (own_application) {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }

  QCommandLineParser parser;
  // "-platform offscreen" is one option with its value, as Qt reads it.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const bool answer = program == Program::kAnswer;
  parser.setApplicationDescription(answer ? kAnswerDescription : kDescription);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption choose(
      "choose-folder",
      "Ask for the folder with the desktop's folder dialog first, unless "
      "FOLDER is given. Cancelling the dialog ends the program.");
  const QCommandLineOption live(
      "live",
      "Tally again by itself whenever answer files arrive in the folder and "
      "it has then been quiet for a second (live results; the window's "
      "context menu turns them off and on).");
  const QCommandLineOption each_pupil(
      "each-pupil",
      "Several pupils answer in turn at this computer: each save writes "
      "<computer name>-<k>.ans with the next free k and clears the form.");
  if (answer) {
    parser.addOption(each_pupil);
  } else {
    parser.addOption(choose);
    parser.addOption(live);
  }
  AcceptQtsOwnOptions(parser);
  parser.addPositionalArgument(
      "FOLDER",
      "The folder to work in (default: the current folder). It must exist.",
      "[FOLDER]");

  QStringList list;
  for (const std::string& argument : arguments) list << Local(argument);
  if (list.isEmpty()) list << QString::fromStdString(name);
  if (!parser.parse(list)) return UsageError(program, parser.errorText());
  if (parser.isSet(help) || parser.isSet("help-all")) {
    return Exit(kExitSuccess, parser.helpText().toStdString(), "");
  }
  if (parser.isSet(version)) {
    return Exit(kExitSuccess, name + " " TABULON_VERSION "\n", "");
  }
  const QStringList folders = parser.positionalArguments();
  if (folders.size() > 1) {
    return UsageError(program, "give at most one FOLDER.");
  }

  StartRequest request;
  request.choose_folder = !answer && parser.isSet(choose);
  request.live = !answer && parser.isSet(live);
  request.each_pupil = answer && parser.isSet(each_pupil);
  // The folder's bytes as given (they are the file system's already), not
  // its round trip through a QString, which would lose undecodable bytes.
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (!folders.isEmpty() && Local(arguments[i]) == folders.front()) {
      request.folder = arguments[i];
    }
  }
  return request;
}

std::string EnterFolder(const std::string& folder, Program program) {
  if (chdir(folder.c_str()) == 0) return "";
  return std::string(NameOf(program)) + ": cannot work in the folder \"" +
         folder + "\": " + std::strerror(errno) + "\n";
}

namespace {

QtMessageHandler qt_handler = nullptr;

void ExitOnFatal(QtMsgType type, const QMessageLogContext& context,
                 const QString& message) {
  if (type != QtFatalMsg) {
    qt_handler(type, context, message);
    return;
  }
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  std::fprintf(stderr, "tabulon: cannot open the window (no display?)\n");
  std::fflush(stderr);
  std::_Exit(kExitStartFailure);
}

}  // namespace

void ExitOnFatalQtMessages() {
  qt_handler = qInstallMessageHandler(ExitOnFatal);
}

int Finish(const StartRequest& request) {
  std::fputs(request.output.c_str(), stdout);
  std::fputs(request.error.c_str(), stderr);
  return request.exit_status;
}

}  // namespace tabulon::app
