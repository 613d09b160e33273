// The results command on the replay source, the results tab and the hit
// report buttons.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "gui_test_support.h"
#include "gui_text.h"
#include "output/results_panel.h"
#include "store/cp932.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

namespace {

QString box(MainWindow& window, store::BetType type, output::ResultsRow row, int entry) {
  auto* label =
      window.findChild<QLabel*>(QString::fromStdString(output::resultsBoxName(type, row, entry)));
  return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

}  // namespace

class ResultsTest : public QObject {
  Q_OBJECT

 private slots:
  void resultsCommandFillsTheResultsTabFromTheReplaySource() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    window.show();
    const QString newest = fixtureDays(window)[0];
    QVERIFY(window.chooseDay(newest));
    QVERIFY(waitForCommand(window));
    // Before the results: empty boxes, and the tallies show a stake only.
    QVERIFY(box(window, store::BetType::kWin, output::ResultsRow::kResult, 0).isEmpty());

    window.findChild<QToolButton*>("KekkaGetBtn")->click();
    QVERIFY(waitForCommand(window));
    QVERIFY(notifier->messages.empty());
    const int slot = window.session().raceSlotOfLine(0);
    const auto expected =
        output::resultsPanelTexts(window.session().tables().analysis(slot).result.payouts);
    const auto& win = expected[0].entries[0];
    QVERIFY(win.shown());
    QCOMPARE(box(window, store::BetType::kWin, output::ResultsRow::kResult, 0),
             QString::fromStdString(win.result));
    QCOMPARE(box(window, store::BetType::kWin, output::ResultsRow::kPayout, 0),
             QString::fromStdString(win.payout));
    const auto& trio = expected[6].entries[0];
    QCOMPARE(box(window, store::BetType::kTrio, output::ResultsRow::kResult, 0),
             QString::fromStdString(trio.result));
    QCOMPARE(window.findChild<QLabel*>("UTLabel1")->text(),
             QString::fromStdString(expected[5].entries[0].result));
    QVERIFY(!window.findChild<QLabel*>("KaishuRituURLabel")->text().isEmpty());

    // A second fetch stores nothing new and shows the same figures.
    const QString payout = box(window, store::BetType::kQuinella, output::ResultsRow::kPayout, 0);
    window.findChild<QToolButton*>("KekkaGetBtn")->click();
    QVERIFY(waitForCommand(window));
    QCOMPARE(box(window, store::BetType::kQuinella, output::ResultsRow::kPayout, 0), payout);
  }

  void hitReportIsWrittenOpenedAndCopied() {
    NotifierScope notifier;
    TestHome dir;
    QFile marker(dir.path() + "/MasterControlBrenn.key");
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    MainWindow window(dir.home());
    window.show();
    const QStringList days = fixtureDays(window);
    // Look for a final day whose report holds at least two hits.
    for (int i = 1; i < days.size() && notifier->opened.isEmpty(); ++i) {
      QVERIFY(window.chooseDay(days[i]));
      QVERIFY(waitForCommand(window));
      window.findChild<QToolButton*>("TekiAnaBtn")->click();
      QVERIFY(waitForCommand(window));
    }
    QCOMPARE(notifier->opened.size(), 1);
    QFile fragment(notifier->opened[0]);
    QVERIFY(fragment.fileName().contains(QStringLiteral("/HPupload/TK")));
    QVERIFY(fragment.open(QIODevice::ReadOnly));
    const QByteArray bytes = fragment.readAll();
    const QString text = fromCp932(std::string_view(bytes.constData(), bytes.size()));
    QVERIFY(text.startsWith(QStringLiteral("<br /><img src=\"./image/balist.gif\">")));
    QCOMPARE(QApplication::clipboard()->text().trimmed(), text.trimmed());
    QVERIFY(QFile::exists(dir.path() + "/HPupload/Manbaken.txt"));
    // The report leaves the last race of the list shown.
    QCOMPARE(window.findChild<QListWidget*>("DatList")->currentRow(),
             window.findChild<QListWidget*>("DatList")->count() - 1);
  }
};

QTEST_MAIN(ResultsTest)
#include "results_test.moc"
