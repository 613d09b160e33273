// The comparisons of the analysis tab and the all-race comparison.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "analysis/comparison_tables.h"
#include "app/settings.h"
#include "betting/combination_grids.h"
#include "command_runner.h"
#include "gui_test_support.h"
#include "gui_text.h"
#include "model/race_card.h"
#include "progress_window.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

namespace {

QStringList viewRow(const model::GridView& view, int row) {
  QStringList texts;
  for (int column = 0; column < view.columnCount(); ++column) {
    texts << fromCp932(view.cell(row, column));
  }
  return texts;
}

void compareTables(QTableView* table, const model::GridView& expected) {
  QCOMPARE(table->model()->rowCount(), expected.rowCount() - 1);
  for (int row = 0; row < table->model()->rowCount(); ++row) {
    QCOMPARE(rowTexts(table, row), viewRow(expected, row + 1));
  }
}

// A window on the newest final day, loaded without the all-race
// comparison.
struct UncomparedDay {
  NotifierScope notifier;
  TestHome dir;
  std::unique_ptr<MainWindow> window;

  bool load() {
    app::Settings(dir.home().iniPath()).setBoolean(app::settings::kCompareAfterLoading, false);
    window = std::make_unique<MainWindow>(dir.home());
    window->show();
    return loadFinalDay(*window);
  }
};

}  // namespace

class ComparisonTest : public QObject {
  Q_OBJECT

 private slots:
  void twoHorseAndHeadToHeadShowTheCoreResult() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    window.show();
    QVERIFY(loadFinalDay(window));
    auto* card = window.findChild<QTableView*>("StringGrid4");
    auto click = [&](int row) {
      QTest::mouseClick(card->viewport(), Qt::LeftButton, {},
                        card->visualRect(card->model()->index(row, 2)).center());
    };
    click(0);
    click(1);
    const QString nameA = window.findChild<QLineEdit*>("Edit1")->text();
    const QString nameB = window.findChild<QLineEdit*>("Edit2")->text();

    // The same comparison as the command-line tool runs it for the two
    // horse numbers.
    const int horseA = card->model()->index(0, 1).data().toString().trimmed().toInt();
    const int horseB = card->model()->index(1, 1).data().toString().trimmed().toInt();
    window.findChild<QToolButton*>("Search2Btn")->click();
    const app::ComparisonOutcome expected =
        window.session().compareRunners(app::ComparisonKind::kTwoHorses, horseA, horseB);
    QVERIFY(expected.result.ok());
    QVERIFY(expected.pointLabels.has_value());
    QVERIFY(notifier->messages.empty());
    auto* grid6 = window.findChild<QTableView*>("StringGrid6");
    compareTables(grid6, expected.grid);
    const char* labels[] = {"pt1Label", "pt2Label", "dpt1Label", "dpt2Label"};
    for (size_t i = 0; i < 4; ++i) {
      QCOMPARE(window.findChild<QLabel*>(labels[i])->text(), fromCp932((*expected.pointLabels)[i]));
    }
    QCOMPARE(window.findChild<QLabel*>("CtLabel")->text(),
             fromCp932(expected.countLabel.value_or("")));
    QCOMPARE(window.findChild<QLineEdit*>("Edit1")->text(), nameA);
    QCOMPARE(window.findChild<QLineEdit*>("Edit2")->text(), nameB);

    window.findChild<QToolButton*>("Search2DirectBtn")->click();
    QVERIFY(notifier->messages.empty());
    const app::ComparisonOutcome direct =
        window.session().compareRunners(app::ComparisonKind::kHeadToHead, horseA, horseB);
    QVERIFY(direct.result.ok());
    compareTables(grid6, direct.grid);

    // Copy: race header, both names, then the grid.
    grid6->findChild<QAction*>("MenuItem3")->trigger();
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines[0], window.findChild<QLabel*>("Label1")->text());
    QCOMPARE(lines[4], nameA);
    QCOMPARE(lines[5], nameB);
    QVERIFY(lines[6].startsWith(QStringLiteral("開催日\tﾄﾗｯｸ\t")));
  }

  void comparingWithoutNamesAsksForThem() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    QVERIFY(loadFinalDay(window));
    window.findChild<QToolButton*>("Search2Btn")->click();
    QCOMPARE(notifier->messages.size(), size_t{1});
    QCOMPARE(notifier->messages[0].text, QStringLiteral("２頭の馬名の入力をしてください。"));
    // Copying an empty comparison grid is refused and leaves the clipboard.
    QApplication::clipboard()->setText(QStringLiteral("before"));
    window.findChild<QTableView*>("StringGrid6")->findChild<QAction*>("MenuItem3")->trigger();
    QCOMPARE(notifier->messages.back().text, QStringLiteral("２頭比較を行ってください。"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
  }

  void allRaceComparisonRefreshesCardTablesAndCombinations() {
    UncomparedDay day;
    QVERIFY(day.load());
    MainWindow& window = *day.window;
    auto* summary = window.findChild<QLabel*>("ShukeiLabel");
    QCOMPARE(
        summary->text(),
        QStringLiteral("集計が未実行です。「全レース比較」ボタンをクリックして集計してください。"));
    auto* quinella = window.findChild<QTableView*>("StringGrid2");
    QVERIFY(quinella->model()->index(0, 1).data().toString().isEmpty());

    window.findChild<QToolButton*>("CompareAllRaceBtn")->click();
    QVERIFY(window.runner().busy());
    QVERIFY(waitForCommand(window));
    QCOMPARE(summary->text(), QStringLiteral("当レースの集計結果は下記の通りです。"));
    const model::DayTables& tables = window.session().tables();
    const int slot = window.session().raceSlotOfLine(0);
    const model::RaceCard card = model::raceCard(tables, slot, model::RaceCardSort::kHorseNumber);
    auto* raceCard = window.findChild<QTableView*>("StringGrid4");
    for (int row = 0; row < raceCard->model()->rowCount(); ++row) {
      QCOMPARE(raceCard->model()->index(row, 9).data().toString(),
               fromCp932(card.rows[static_cast<size_t>(row)].cells[9]));
    }
    compareTables(window.findChild<QTableView*>("StringGrid7"),
                  analysis::comparisonDetailGrid(tables, slot));
    compareTables(window.findChild<QTableView*>("StringGrid8"),
                  analysis::comparisonResultGrid(tables, slot));
    compareTables(quinella, betting::combinationGrid(tables.analysis(slot),
                                                     betting::CombinationGridKind::kQuinella));
    QVERIFY(!window.findChild<QLabel*>("ToushiGakuURLabel")->text().trimmed().isEmpty());

    // The comparison tables go to the clipboard under the race header.
    auto* grid7 = window.findChild<QTableView*>("StringGrid7");
    grid7->findChild<QAction*>("MenuItem5")->trigger();
    QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines[0], window.findChild<QLabel*>("Label1")->text());
    QCOMPARE(lines[5].split('\t'), rowTexts(grid7, 0));
    auto* grid8 = window.findChild<QTableView*>("StringGrid8");
    grid8->findChild<QAction*>("MenuItem4")->trigger();
    lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines[5].split('\t'), rowTexts(grid8, 0));
  }

  void cancellingTheAllRaceComparisonLeavesNoCombinations() {
    UncomparedDay day;
    QVERIFY(day.load());
    MainWindow& window = *day.window;
    window.findChild<QToolButton*>("CompareAllRaceBtn")->click();
    window.progressWindow().findChild<QPushButton*>("CancelBtn")->click();
    QVERIFY(waitForCommand(window));
    QVERIFY(day.notifier->messages.empty());
    const model::DayTables& tables = window.session().tables();
    const auto& races = window.session().raceList();
    QVERIFY(!tables.analysis(races.back().raceSlot).compared);
    auto* quinella = window.findChild<QTableView*>("StringGrid2");
    QVERIFY(quinella->model()->index(0, 1).data().toString().isEmpty());
    QVERIFY(window.findChild<QWidget*>("PageControl1")->isVisible());
  }
};

QTEST_MAIN(ComparisonTest)
#include "comparison_test.moc"
