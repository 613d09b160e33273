// orvalle: the desktop program.
//   orvalle [--home DIR] [--day DAY]
// opens the main window on the home folder (as orvalle-cli resolves it),
// with DAY (yyyymmdd or yyyy年mm月dd日) chosen when given.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#include "app/startup.h"
#include "app/user_input.h"
#include "gui_text.h"
#include "main_window.h"
#include "notifier.h"
#include "screenshots.h"
#include "store/error.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvalle"));
  QApplication::setApplicationDisplayName(QStringLiteral("Orvalle"));
  QApplication::setApplicationVersion(QStringLiteral(ORVALLE_VERSION));

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
  parser.addOption(screenshotsOption);
  parser.process(application);

  using namespace orvalle;
  std::optional<app::Home> home;
  try {
    home = app::startUp(gui::toUtf8(parser.value(homeOption)));
  } catch (const Error& error) {
    gui::Notifier::instance().inform(nullptr, gui::fromUtf8(error.what()), true);
    return 1;
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
