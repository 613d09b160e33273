// orvalle: the desktop program.
//   orvalle [--home DIR] [--day DAY]
// opens the main window on the home folder (as orvalle-cli resolves it),
// with DAY (yyyymmdd or yyyy年mm月dd日) chosen when given.
//   orvalle --print-pdf DAY FILE [--home DIR]
// writes the analysis sheets of DAY to the PDF file FILE without a window.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <string_view>
#include <vector>

#include "app/day_session.h"
#include "app/startup.h"
#include "app/user_input.h"
#include "gui_text.h"
#include "main_window.h"
#include "notifier.h"
#include "screenshots.h"
#include "sheet_printing.h"
#include "store/error.h"

namespace {

// Whether the arguments ask for a run without a window (a PDF, the version
// or the usage text): it then needs no display, whatever the environment says.
bool runsWithoutWindow(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--print-pdf" || argument.starts_with("--print-pdf=")) return true;
    if (argument == "--version" || argument == "-v" || argument == "--help" ||
        argument == "--help-all" || argument == "-h" || argument == "-?") {
      return true;
    }
  }
  return false;
}

// --print-pdf: loads the day, compares its races and writes the sheets.
int printPdf(const orvalle::app::Home& home, const QString& day, const QString& file) {
  using namespace orvalle;
  const app::Input stem = app::dayInput(gui::toUtf8(day));
  if (!stem) {
    std::fprintf(stderr, "%s\n", stem.status.message().c_str());
    return 1;
  }
  try {
    app::DaySession session(home);
    app::CommandResult result = session.loadDay(stem.value, app::AfterLoading::kCompare);
    std::vector<output::SheetPage> pages;
    if (result) result.append(session.analysisSheets(pages));
    if (!result) {
      std::fprintf(stderr, "%s\n", result.text().c_str());
      return 1;
    }
    const QString error = gui::writeSheetsPdf(pages, file);
    if (!error.isEmpty()) {
      std::fprintf(stderr, "%s\n", gui::toUtf8(error).c_str());
      return 1;
    }
  } catch (const Error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (runsWithoutWindow(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvalle"));
  QApplication::setApplicationDisplayName(QStringLiteral("Orvalle"));
  QApplication::setApplicationVersion(QStringLiteral(ORVALLE_VERSION));
  // The desktop entry of the installed program (share/applications).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.orvalle.Orvalle"));

  // Japanese throughout, Qt's own buttons and dialogs included.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTranslator);
  }

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Orvalle for JRA-VAN Data Lab."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("ホームフォルダ"),
                                QStringLiteral("DIR"));
  QCommandLineOption dayOption(
      QStringLiteral("day"), QStringLiteral("起動時に選ぶ開催日 (yyyymmdd または yyyy年mm月dd日)"),
      QStringLiteral("DAY"));
  QCommandLineOption screenshotsOption(
      QStringLiteral("screenshots"),
      QStringLiteral("--day の開催日で各ページを DIR に PNG として保存して終了します"),
      QStringLiteral("DIR"));
  parser.addOption(homeOption);
  parser.addOption(dayOption);
  QCommandLineOption printPdfOption(
      QStringLiteral("print-pdf"),
      QStringLiteral("DAY の分析シートを PDF ファイルに書き出して終了します (引数: DAY FILE)"),
      QStringLiteral("DAY"));
  parser.addOption(screenshotsOption);
  parser.addOption(printPdfOption);
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("--print-pdf の書き出し先 PDF ファイル"));
  parser.process(application);

  using namespace orvalle;
  std::optional<app::Home> home;
  try {
    home = app::startUp(gui::toUtf8(parser.value(homeOption)));
  } catch (const Error& error) {
    if (parser.isSet(printPdfOption)) {
      std::fprintf(stderr, "%s\n", error.what());
    } else {
      gui::Notifier::instance().inform(nullptr, gui::fromUtf8(error.what()), true);
    }
    return 1;
  }

  if (parser.isSet(printPdfOption)) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
      std::fprintf(stderr,
                   "--print-pdf DAY FILE: 書き出し先の PDF ファイルを1つ指定してください。\n");
      return 2;
    }
    return printPdf(*home, parser.value(printPdfOption), files.front());
  }

  gui::MainWindow window(*home);
  if (parser.isSet(screenshotsOption)) {
    const app::Input stem = app::dayInput(gui::toUtf8(parser.value(dayOption)));
    if (!stem) {
      std::fprintf(stderr, "--screenshots: %s\n", stem.status.message().c_str());
      return 2;
    }
    return gui::takeScreenshots(window, gui::fromUtf8(stem.value), parser.value(screenshotsOption))
               ? 0
               : 1;
  }
  window.show();
  if (parser.isSet(dayOption)) {
    const QString day = parser.value(dayOption);
    QTimer::singleShot(0, &window, [&window, day] {
      const app::Input stem = app::dayInput(gui::toUtf8(day));
      if (!stem) {
        gui::Notifier::instance().inform(&window, gui::fromUtf8(stem.status.message()), true);
      } else if (!window.chooseDay(gui::fromUtf8(stem.value))) {
        gui::Notifier::instance().inform(&window, QStringLiteral("開催日がありません: %1").arg(day),
                                         true);
      }
    });
  }
  return QApplication::exec();
}
