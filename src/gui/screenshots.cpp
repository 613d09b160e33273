#include "screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <cstdio>

#include "acquisition_dialog.h"
#include "command_runner.h"
#include "main_window.h"
#include "notifier.h"
#include "print_preview.h"
#include "settings_dialogs.h"

namespace orvalle::gui {
namespace {

// Without a display nobody can answer a message box: messages go to standard
// error instead.
class PrintingNotifier final : public Notifier {
 public:
  void inform(QWidget*, const QString& text, bool) override {
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
  }
  bool confirm(QWidget*, const QString& text) override {
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    return false;
  }
  void beep() override {}
  bool openDocument(const QString&) override { return false; }
};

bool waitUntilIdle(MainWindow& window) {
  while (window.runner().busy()) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

void settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(MainWindow& window, const QDir& folder, const QString& name) {
  settle();
  const QString path = folder.filePath(name);
  if (!window.grab().save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
    return false;
  }
  std::printf("%s\n", qUtf8Printable(path));
  return true;
}

// The window with its help menu open below the menu bar: the menu is a
// window of its own, so it is drawn onto the window's picture where it opens.
bool saveWithHelpMenu(MainWindow& window, const QDir& folder, const QString& name) {
  auto* menu = window.findChild<QMenu*>(QStringLiteral("HelpMenu"));
  QMenuBar* bar = window.menuBar();
  if (menu == nullptr || bar == nullptr) return false;
  const QRect item = bar->actionGeometry(menu->menuAction());
  const QPoint at = bar->mapTo(&window, item.bottomLeft());
  bar->setActiveAction(menu->menuAction());
  menu->popup(window.mapToGlobal(at));
  settle();
  QPixmap picture = window.grab();
  {
    QPainter painter(&picture);
    painter.drawPixmap(at, menu->grab());
  }
  menu->hide();
  bar->setActiveAction(nullptr);
  const QString path = folder.filePath(name);
  if (!picture.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
    return false;
  }
  std::printf("%s\n", qUtf8Printable(path));
  return true;
}

void clickRow(QTableView* table, int row) {
  const QModelIndex index = table->model()->index(row, 2);
  if (!index.isValid()) return;
  emit table->clicked(index);
}

}  // namespace

bool takeScreenshots(MainWindow& window, const QString& day, const QString& folder) {
  Notifier::install(std::make_unique<PrintingNotifier>());
  QDir out(folder);
  if (!out.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", qUtf8Printable(folder));
    return false;
  }
  window.resize(1280, 760);
  window.show();
  settle();
  if (!window.chooseDay(day)) {
    std::fprintf(stderr, "no such day: %s\n", qUtf8Printable(day));
    return false;
  }
  waitUntilIdle(window);
  if (window.session().raceList().empty()) {
    std::fprintf(stderr, "the day has no races: %s\n", qUtf8Printable(day));
    return false;
  }
  auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl2"));
  auto* analysisTabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl3"));
  auto* card = window.findChild<QTableView*>(QStringLiteral("StringGrid4"));
  // Sorted by point win rate, the way a bettor reads a compared race, on the
  // race with the most rated runners.
  window.findChild<QToolButton*>(QStringLiteral("SpeedButton32"))->click();
  int bestLine = 0;
  int bestRated = -1;
  for (int line = 0; line < static_cast<int>(window.session().raceList().size()); ++line) {
    window.selectRace(line);
    int rated = 0;
    for (int row = 0; row < card->model()->rowCount(); ++row) {
      if (!card->model()->index(row, 17).data().toString().trimmed().isEmpty()) ++rated;
    }
    if (rated > bestRated) {
      bestRated = rated;
      bestLine = line;
    }
  }
  window.selectRace(bestLine);

  pages->setCurrentIndex(0);
  if (!save(window, out, QStringLiteral("1-race-card.png"))) return false;
  if (!saveWithHelpMenu(window, out, QStringLiteral("1-help-menu.png"))) return false;
  pages->setCurrentIndex(1);
  if (!save(window, out, QStringLiteral("2-detailed-card.png"))) return false;

  // The pair of the race with the most comparison rows, picked on the card.
  auto* detail = window.findChild<QTableView*>(QStringLiteral("StringGrid7"));
  int bestPair = 0;
  int bestCount = -1;
  for (int row = 0; row < detail->model()->rowCount(); ++row) {
    const int count = detail->model()->index(row, 13).data().toString().trimmed().toInt();
    if (count > bestCount) {
      bestCount = count;
      bestPair = row;
    }
  }
  for (int column : {1, 7}) {
    const QString horse = detail->model()->index(bestPair, column).data().toString().trimmed();
    for (int row = 0; row < card->model()->rowCount(); ++row) {
      if (card->model()->index(row, 1).data().toString().trimmed() == horse) clickRow(card, row);
    }
  }
  window.findChild<QToolButton*>(QStringLiteral("Search2Btn"))->click();
  pages->setCurrentIndex(2);
  analysisTabs->setCurrentIndex(0);
  if (!save(window, out, QStringLiteral("3-two-horse.png"))) return false;
  analysisTabs->setCurrentIndex(1);
  if (!save(window, out, QStringLiteral("4-race-comparison.png"))) return false;
  pages->setCurrentIndex(3);
  if (!save(window, out, QStringLiteral("5-combinations.png"))) return false;
  pages->setCurrentIndex(4);
  if (!save(window, out, QStringLiteral("6-results.png"))) return false;

  // The dialogs, as they open.
  AcquisitionDialog acquisition(window.session().home(), &window);
  UserSettingsDialog combinations(window.session().home(), &window);
  const std::pair<QDialog*, QString> dialogs[] = {
      {&acquisition, QStringLiteral("7-acquisition.png")},
      {&combinations, QStringLiteral("8-combination-settings.png")}};
  for (const auto& [dialog, name] : dialogs) {
    dialog->show();
    settle();
    const QString path = out.filePath(name);
    if (!dialog->grab().save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
      return false;
    }
    std::printf("%s\n", qUtf8Printable(path));
    dialog->hide();
  }

  // The first analysis sheet in the print preview, at its real size.
  std::unique_ptr<PrintPreviewDialog> preview = window.makePrintPreview();
  if (!preview) return false;
  {
    // 100% for the picture only: the user's zoom choice is not changed.
    const QSignalBlocker blocker(preview->zoomChoice());
    preview->zoomChoice()->setCurrentIndex(3);
  }
  preview->pageView()->setZoom(100);
  preview->resize(900, 1000);
  preview->show();
  settle();
  const QString path = out.filePath(QStringLiteral("9-print-preview.png"));
  if (!preview->grab().save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
    return false;
  }
  std::printf("%s\n", qUtf8Printable(path));
  return true;
}

}  // namespace orvalle::gui
