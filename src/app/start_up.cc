#include "app/start_up.h"

#include <errno.h>
#include <unistd.h>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

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

QString Local(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(),
                                static_cast<qsizetype>(bytes.size()));
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt's own start-up options are known to the parser, so they are neither
// refused nor taken for a FOLDER, and left for Qt.
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
  QCommandLineParser parser;
  // "-platform offscreen" is one option with its value, as Qt reads it.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  for (const StartOption& option : kStartOptions) {
    if (option.program == program) {
      parser.addOption(QCommandLineOption(Text(option.name)));
    }
  }
  AcceptQtsOwnOptions(parser);

  QStringList list;
  for (const std::string& argument : arguments) list << Local(argument);
  if (list.isEmpty()) list << Text(NameOf(program));
  if (!parser.parse(list)) {
    return UsageError(program, parser.errorText().toStdString());
  }
  if (parser.isSet(help) || parser.isSet("help-all")) {
    return ExitWith(kExitSuccess, HelpText(program), "");
  }
  if (parser.isSet(version)) {
    return ExitWith(kExitSuccess, VersionText(program), "");
  }
  const QStringList folders = parser.positionalArguments();
  if (folders.size() > 1) {
    return UsageError(program, "give at most one FOLDER.");
  }

  StartRequest request;
  for (const StartOption& option : kStartOptions) {
    if (option.program == program && parser.isSet(Text(option.name))) {
      request.*option.sets = true;
    }
  }
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
  return FolderFailure(program, folder, std::strerror(errno));
}

StartRequest PrepareStart(const std::vector<std::string>& arguments,
                          Program program) {
  StartRequest request = ReadCommandLine(arguments, program);
  if (request.exit_now || request.folder.empty()) return request;
  std::string failure = EnterFolder(request.folder, program);
  if (failure.empty()) return request;
  return ExitWith(kExitStartFailure, "", std::move(failure));
}

int Finish(const StartRequest& request) {
  std::fputs(request.output.c_str(), stdout);
  std::fputs(request.error.c_str(), stderr);
  return request.exit_status;
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

}  // namespace tabulon::app
