// Choosing a day, the race list and the race card: texts, colours, sorts,
// picking the horses of a comparison and copying.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "gui_test_support.h"
#include "gui_text.h"
#include "model/race_card.h"
#include "progress_window.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

namespace {

struct LoadedWindow {
  NotifierScope notifier;
  TestHome dir;
  MainWindow window{dir.home()};
  QStringList days;

  // Chooses the newest day with final results.
  bool load() {
    window.show();
    days = fixtureDays(window);
    return days.size() > 1 && window.chooseDay(days[1]) && waitForCommand(window);
  }
  QTableView* card() { return window.findChild<QTableView*>("StringGrid4"); }
};

QStringList coreRow(const model::RaceCardRow& row) {
  QStringList texts;
  for (const std::string& cell : row.cells) texts << fromCp932(cell);
  return texts;
}

}  // namespace

class RaceCardTest : public QObject {
  Q_OBJECT

  // One loaded day serves the tests that only look and click.
  std::unique_ptr<LoadedWindow> m_loaded;

 private slots:
  void initTestCase() {
    m_loaded = std::make_unique<LoadedWindow>();
    QVERIFY(m_loaded->load());
  }
  void cleanupTestCase() { m_loaded.reset(); }

  void choosingADayFillsTheRaceListAndShowsTheFirstRace() {
    LoadedWindow& w = *m_loaded;
    auto* list = w.window.findChild<QListWidget*>("DatList");
    const auto& races = w.window.session().raceList();
    QVERIFY(!races.empty());
    QCOMPARE(list->count(), static_cast<int>(races.size()));
    for (int i = 0; i < list->count(); ++i) {
      QCOMPARE(list->item(i)->text(), fromCp932(races[static_cast<size_t>(i)].line));
    }
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(w.window.findChild<QWidget*>("PageControl1")->isVisible());
    // The option runs the all-race comparison after loading.
    QCOMPARE(w.window.findChild<QLabel*>("ShukeiLabel")->text(),
             QStringLiteral("当レースの集計結果は下記の通りです。"));
    QVERIFY(w.window.findChild<QLabel*>("Label1")->text().contains(QStringLiteral("発走")));
    QVERIFY(w.notifier->messages.empty());
  }

  void raceCardShowsTheCoreRowsWithTheirColours() {
    LoadedWindow& w = *m_loaded;
    // The first race whose runners were ranked (a race of newcomers has no
    // past runs to compare).
    int line = 0;
    for (; line < static_cast<int>(w.window.session().raceList().size()); ++line) {
      const int slot = w.window.session().raceSlotOfLine(line);
      if (w.window.session().tables().analysis(slot).pointWinRateRank[0] > 0) break;
    }
    w.window.selectRace(line);
    const int slot = w.window.session().raceSlotOfLine(line);
    const model::RaceCard card =
        model::raceCard(w.window.session().tables(), slot, model::RaceCardSort::kHorseNumber);
    QTableView* table = w.card();
    QCOMPARE(table->model()->rowCount(), static_cast<int>(card.rows.size()));
    QCOMPARE(table->model()->columnCount(), 27);
    QCOMPARE(table->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("馬名"));
    QCOMPARE(table->model()->headerData(26, Qt::Horizontal).toString(), QStringLiteral("確ｵｯｽﾞ"));
    const QMap<QString, QColor> brackets = {{" 1", Qt::white},        {" 2", QColor(0x808080)},
                                            {" 3", QColor(0xFF0000)}, {" 4", QColor(0x0000FF)},
                                            {" 5", QColor(0xFFFF00)}, {" 6", QColor(0x00FF00)},
                                            {" 7", QColor(0xFF8000)}, {" 8", QColor(0xFF00FF)}};
    int ranked = 0;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
      QCOMPARE(rowTexts(table, row), coreRow(card.rows[static_cast<size_t>(row)]));
      const QString bracket = table->model()->index(row, 0).data().toString();
      QCOMPARE(table->model()->index(row, 0).data(Qt::BackgroundRole).value<QColor>(),
               brackets.value(bracket));
      QCOMPARE(table->model()->index(row, 19).data(Qt::BackgroundRole).value<QColor>(),
               QColor(0xFFFF80));
      QCOMPARE(table->model()->index(row, 25).data(Qt::BackgroundRole).value<QColor>(),
               QColor(0xC4FFFF));
      QCOMPARE(table->model()->index(row, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                   Qt::AlignHorizontal_Mask,
               Qt::AlignLeft);
      // Ranks: 1 red, 2 and 3 blue.
      const QString rank = table->model()->index(row, 18).data().toString().trimmed();
      const QColor colour = table->model()->index(row, 18).data(Qt::ForegroundRole).value<QColor>();
      if (rank == "1") QCOMPARE(colour, QColor(0xFF0000));
      if (rank == "2" || rank == "3") QCOMPARE(colour, QColor(0x0000FF));
      if (rank == "1" || rank == "2" || rank == "3") ++ranked;
    }
    QCOMPARE(ranked, std::min(3, table->model()->rowCount()));
  }

  void everySortButtonOrdersAsTheCore_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("sort");
    const char* names[] = {"SpeedButton14", "SpeedButton15", "SpeedButton17",
                           "SpeedButton18", "SpeedButton20", "SpeedButton31",
                           "SpeedButton32", "SpeedButton33", "SpeedButton16"};
    for (int i = 0; i < 9; ++i) QTest::newRow(names[i]) << QString(names[i]) << i;
  }
  void everySortButtonOrdersAsTheCore() {
    QFETCH(QString, button);
    QFETCH(int, sort);
    LoadedWindow& w = *m_loaded;
    w.window.selectRace(0);
    const model::RaceCardSort chosen = model::kRaceCardSorts[static_cast<size_t>(sort)];
    auto* sortButton = w.window.findChild<QToolButton*>(button);
    QCOMPARE(sortButton->text(), fromCp932(model::raceCardSortCaption(chosen)));
    sortButton->click();
    QVERIFY(sortButton->isChecked());
    // Another race keeps the chosen sort.
    w.window.selectRace(1);
    const int slot = w.window.session().raceSlotOfLine(1);
    const model::RaceCard card = model::raceCard(w.window.session().tables(), slot, chosen);
    for (int row = 0; row < w.card()->model()->rowCount(); ++row) {
      QCOMPARE(rowTexts(w.card(), row), coreRow(card.rows[static_cast<size_t>(row)]));
    }
  }

  void clicksPickHorseAThenBAndClearEmptiesTheBoxes() {
    LoadedWindow& w = *m_loaded;
    w.window.findChild<QToolButton*>("SpeedButton14")->click();
    w.window.selectRace(0);
    QTableView* table = w.card();
    auto* edit1 = w.window.findChild<QLineEdit*>("Edit1");
    auto* edit2 = w.window.findChild<QLineEdit*>("Edit2");
    auto* weightA = w.window.findChild<QLabel*>("kinryoAlabel");
    auto* weightB = w.window.findChild<QLabel*>("kinryoBlabel");
    auto click = [&](int row) {
      const QRect cell = table->visualRect(table->model()->index(row, 2));
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    };
    QVERIFY(table->model()->rowCount() >= 3);
    click(0);
    QCOMPARE(edit1->text(), table->model()->index(0, 2).data().toString());
    QCOMPARE(weightA->text(), table->model()->index(0, 5).data().toString());
    QVERIFY(edit2->text().isEmpty());
    click(0);  // the same horse again picks nothing
    QVERIFY(edit2->text().isEmpty());
    click(1);
    QCOMPARE(edit2->text(), table->model()->index(1, 2).data().toString());
    click(2);  // a third horse replaces B
    QCOMPARE(edit2->text(), table->model()->index(2, 2).data().toString());
    QCOMPARE(weightB->text(), table->model()->index(2, 5).data().toString());

    auto* pages = w.window.findChild<QTabWidget*>("PageControl2");
    pages->setCurrentIndex(2);
    w.window.findChild<QToolButton*>("SpeedButton12")->click();
    QVERIFY(edit1->text().isEmpty());
    QVERIFY(edit2->text().isEmpty());
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(!weightA->text().isEmpty());  // the weights stay
  }

  void upDownStepsThroughTheRacesAndFTogglesTheList() {
    LoadedWindow& w = *m_loaded;
    w.window.selectRace(0);
    auto* list = w.window.findChild<QListWidget*>("DatList");
    auto* label1 = w.window.findChild<QLabel*>("Label1");
    const QString first = label1->text();
    w.window.findChild<QToolButton*>("UpDownNext")->click();
    QCOMPARE(list->currentRow(), 1);
    QVERIFY(label1->text() != first);
    w.window.findChild<QToolButton*>("UpDownPrevious")->click();
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(label1->text(), first);
    w.window.findChild<QToolButton*>("UpDownPrevious")->click();  // stays at the first race
    QCOMPARE(list->currentRow(), 0);

    auto* f = w.window.findChild<QToolButton*>("SpeedButton8");
    f->click();
    QVERIFY(!list->isVisible());
    f->click();
    QVERIFY(list->isVisible());
  }

  void copyPutsHeaderLinesAndGridOnTheClipboard() {
    LoadedWindow& w = *m_loaded;
    QApplication::clipboard()->clear();
    w.card()->findChild<QAction*>("CopyRaceCardItem")->trigger();
    const QString text = QApplication::clipboard()->text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines[0], w.window.findChild<QLabel*>("Label1")->text());
    QCOMPARE(lines[3], w.window.findChild<QLabel*>("Label4")->text());
    QVERIFY(lines[4].startsWith(QStringLiteral("枠\t馬\t馬名\t")));
    QCOMPARE(lines[5].split('\t'), rowTexts(w.card(), 0));
    // Every row ends in CR LF, so the text ends with an empty piece.
    QCOMPARE(lines.size(), 4 + 1 + w.card()->model()->rowCount() + 1);
  }

  void aDayWithoutItsRunnerFileGivesItsMessageAndNoRaces() {
    LoadedWindow& w = *m_loaded;
    w.notifier->messages.clear();
    const QString day = w.days[2];
    QDir data(w.dir.path() + "/DATA");
    const QStringList seFiles = data.entryList({day + "*.jvSEr"});
    QVERIFY(!seFiles.isEmpty());
    QVERIFY(data.remove(seFiles.first()));

    // Choosing the day in the date list loads it.
    auto* combo = w.window.findChild<QComboBox*>("DateCombo");
    combo->setCurrentIndex(combo->findText(day));
    // The progress window shows the day and what is being done.
    QVERIFY(w.window.progressWindow().isVisible());
    QCOMPARE(w.window.progressWindow().upperLine(), day);
    QCOMPARE(w.window.progressWindow().lowerLine(),
             QStringLiteral("レースデータを読み込んでいます。"));
    QVERIFY(waitForCommand(w.window));
    QVERIFY(!w.window.progressWindow().isVisible());
    QCOMPARE(w.window.findChild<QListWidget*>("DatList")->count(), 0);
    QVERIFY(w.window.findChild<QWidget*>("PageControl1")->isHidden());
    QCOMPARE(w.notifier->messages.size(), size_t{1});
    QCOMPARE(w.notifier->messages[0].text,
             day + QStringLiteral(
                       "のデータ作成は未完了です。少し時間をおいてデータを再取得してください。"));
    QVERIFY(w.notifier->messages[0].beep);
  }
};

QTEST_MAIN(RaceCardTest)
#include "race_card_test.moc"
