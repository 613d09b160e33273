// The acquisition dialog: a first setup transfer into an empty home, a
// transfer with nothing new, a missing source, cancel and closing while a
// transfer runs.
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "acquire/acquisition.h"
#include "acquire/past_run_construction.h"
#include "acquisition_dialog.h"
#include "app/settings.h"
#include "app/startup.h"
#include "gui_test_support.h"
#include "gui_text.h"
#include "store/cp932.h"

Q_DECLARE_METATYPE(orvalle::acquire::AcquisitionResult)

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

namespace {

const QString kPickerFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");

QString fixtureSource() {
  return QString::fromLocal8Bit(qgetenv("ORVALLE_GUI_FIXTURE")) + QStringLiteral("/source");
}

void setSource(const app::Home& home, const QString& folder) {
  app::Settings(home.iniPath())
      .setText(app::settings::kJvLinkSource, cp932::fromUtf8(toUtf8(folder)));
}

QString lastTime(const app::Home& home) {
  return fromCp932(app::Settings(home.iniPath()).text(app::settings::kLastAcquisitionTime));
}

// Opens the dialog through the tool button, as the user does.
AcquisitionDialog* openDialog(MainWindow& window) {
  window.findChild<QToolButton*>("JVBtn")->click();
  auto* dialog = window.findChild<AcquisitionDialog*>("GetDataForm");
  return dialog && QTest::qWaitForWindowExposed(dialog) ? dialog : nullptr;
}

int countOf(const RecordingNotifier& notifier, const QString& text) {
  return static_cast<int>(std::count_if(notifier.messages.begin(), notifier.messages.end(),
                                        [&](const auto& message) { return message.text == text; }));
}

QString statusOf(const AcquisitionDialog& dialog) {
  return dialog.findChild<QLabel*>("ProgressLabel")->text();
}

}  // namespace

class AcquisitionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qRegisterMetaType<acquire::AcquisitionResult>(); }

  void setupTransferBuildsTheDaysThenFindsNothingNew() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    window.show();
    AcquisitionDialog* dialog = openDialog(window);
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    // A first run: setup data from two years back.
    QVERIFY(dialog->findChild<QRadioButton*>("rbtSetup")->isChecked());
    const QDate from = dialog->findChild<QDateTimeEdit*>("DateTimePicker1")->date();
    QVERIFY(qAbs(from.daysTo(QDate::currentDate()) - 731) <= 1);

    // "JVLink設定" writes the chosen folder as the source.
    dialog->setFolderChooser([](QWidget*, const QString& current) {
      return current.isEmpty() ? fixtureSource() : QString();
    });
    dialog->findChild<QPushButton*>("SpeedButton1")->click();
    QCOMPARE(fromCp932(app::Settings(home.iniPath()).text(app::settings::kJvLinkSource)),
             fixtureSource());

    auto* picker = dialog->findChild<QDateTimeEdit*>("DateTimePicker1");
    picker->setDateTime(QDateTime::fromString("2020/01/01 00:00:00", kPickerFormat));
    QSignalSpy ended(dialog, &AcquisitionDialog::transferEnded);
    auto* start = dialog->findChild<QPushButton*>("ButtonStart");
    start->click();
    QVERIFY(!start->isEnabled());
    // The ended transfer is only taken back by the event loop, so this
    // start meets the running one.
    dialog->startTransfer();
    QVERIFY(QTest::qWaitFor([&] { return ended.count() == 1; }, 120000));
    QCOMPARE(ended.at(0).at(0).value<acquire::AcquisitionResult>().outcome,
             acquire::AcquisitionOutcome::kCompleted);

    QVERIFY(notifier->messages.front().text.startsWith(
        QStringLiteral("2020年01月01日00時00分00秒以降のデータ取込を開始します。")));
    QCOMPARE(countOf(*notifier, fromUtf8(acquire::kAlreadyRunningMessage)), 1);
    QCOMPARE(statusOf(*dialog), fromUtf8(acquire::kCompletedText));
    QCOMPARE(dialog->findChild<QLabel*>("Label9")->text(),
             QStringLiteral("過去走データを構築しました。"));
    QVERIFY(start->isEnabled());
    QVERIFY(dialog->findChild<QListWidget*>("ListBox1")->count() > 0);
    QVERIFY(!lastTime(home).isEmpty());
    QCOMPARE(picker->text(), lastTime(home));

    QPointer<AcquisitionDialog> closing(dialog);
    dialog->close();
    QVERIFY(QTest::qWaitFor([&] { return closing.isNull(); }));
    auto* dates = window.findChild<QComboBox*>("DateCombo");
    QCOMPARE(dates->count(), 12);
    QCOMPARE(dates->itemText(0), fixtureDays(window).front());

    // The next transfer starts from the saved time with normal data.
    dialog = openDialog(window);
    QVERIFY(dialog->findChild<QRadioButton*>("rbtNormal")->isChecked());
    QCOMPARE(dialog->findChild<QDateTimeEdit*>("DateTimePicker1")->text(), lastTime(home));
    const int beeps = notifier->beeps;
    QSignalSpy endedAgain(dialog, &AcquisitionDialog::transferEnded);
    dialog->findChild<QPushButton*>("ButtonStart")->click();
    QVERIFY(QTest::qWaitFor([&] { return endedAgain.count() == 1; }, 120000));
    QCOMPARE(endedAgain.at(0).at(0).value<acquire::AcquisitionResult>().outcome,
             acquire::AcquisitionOutcome::kNoData);
    QCOMPARE(notifier->messages.back().text, fromUtf8(acquire::kNoNewDataMessage));
    // The beep before the box sounds with it, once; closing the transfer
    // beeps on its own.
    QVERIFY(notifier->messages.back().beep);
    QCOMPARE(notifier->beeps, beeps + 1);
  }

  void missingSourceIsToldAndNothingStarts() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    AcquisitionDialog dialog(home);
    dialog.show();
    QSignalSpy ended(&dialog, &AcquisitionDialog::transferEnded);
    dialog.findChild<QPushButton*>("ButtonStart")->click();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!dialog.transferRunning());
    QCOMPARE(notifier->messages.size(), size_t{2});
    QVERIFY(notifier->messages.back().text.startsWith(
        QStringLiteral("JV-Linkのデータ取得元フォルダが設定されていません。")));
    QVERIFY(notifier->messages.back().beep);
    QVERIFY(dialog.findChild<QPushButton*>("ButtonStart")->isEnabled());
  }

  void cancelAndCloseAskFirstWhileATransferRuns() {
    NotifierScope notifier;
    // A source that downloads slowly, so that the transfer is still running
    // when the questions are answered.
    QTemporaryDir sourceDir;
    std::filesystem::copy(toUtf8(fixtureSource()), toUtf8(sourceDir.path()),
                          std::filesystem::copy_options::recursive);
    QFile ini(sourceDir.path() + QStringLiteral("/jvlink.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[emulate]\r\ndownload_ms=100\r\n");
    ini.close();
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    setSource(home, sourceDir.path());
    MainWindow window(home);
    window.show();
    AcquisitionDialog* dialog = openDialog(window);
    dialog->findChild<QDateTimeEdit*>("DateTimePicker1")
        ->setDateTime(QDateTime::fromString("2020/01/01 00:00:00", kPickerFormat));
    QSignalSpy ended(dialog, &AcquisitionDialog::transferEnded);
    dialog->findChild<QPushButton*>("ButtonStart")->click();
    QVERIFY(QTest::qWaitFor([&] { return statusOf(*dialog).startsWith("ダウンロード中"); }));

    notifier->answers = {false, false, true};
    dialog->findChild<QPushButton*>("ButtonCancel")->click();
    dialog->close();
    QTest::qWait(150);
    QCOMPARE(notifier->questions, QStringList(2, fromUtf8(acquire::kCancelQuestion)));
    QVERIFY(dialog->transferRunning());
    QVERIFY(dialog->isVisible());
    QCOMPARE(ended.count(), 0);

    // Yes to closing cancels; the dialog closes once the transfer has ended.
    QPointer<AcquisitionDialog> closing(dialog);
    dialog->close();
    QVERIFY(QTest::qWaitFor([&] { return closing.isNull(); }, 30000));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).value<acquire::AcquisitionResult>().outcome,
             acquire::AcquisitionOutcome::kCancelled);
    QCOMPARE(countOf(*notifier, fromUtf8(acquire::kCancelledMessage)), 1);
    QVERIFY(lastTime(home).isEmpty());
  }

  void cancelWhileReadingStopsAfterTheRecordAtHand() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    setSource(home, fixtureSource());
    MainWindow window(home);
    AcquisitionDialog* dialog = openDialog(window);
    dialog->findChild<QDateTimeEdit*>("DateTimePicker1")
        ->setDateTime(QDateTime::fromString("2020/01/01 00:00:00", kPickerFormat));
    // The transfer waits at its first record until the cancel is given.
    QSemaphore reached;
    QSemaphore proceed;
    std::atomic<bool> held{false};
    dialog->setRecordHook([&] {
      if (held.exchange(true)) return;
      reached.release();
      proceed.acquire();
    });
    QSignalSpy ended(dialog, &AcquisitionDialog::transferEnded);
    dialog->findChild<QPushButton*>("ButtonStart")->click();
    QVERIFY(QTest::qWaitFor([&] { return reached.available() == 1; }, 60000));
    notifier->answers = {true};
    dialog->findChild<QPushButton*>("ButtonCancel")->click();
    proceed.release();
    QVERIFY(QTest::qWaitFor([&] { return ended.count() == 1; }, 60000));
    QCOMPARE(ended.at(0).at(0).value<acquire::AcquisitionResult>().outcome,
             acquire::AcquisitionOutcome::kCancelled);
    QCOMPARE(countOf(*notifier, fromUtf8(acquire::kCancelledMessage)), 1);
    QCOMPARE(dialog->findChild<QListWidget*>("ListBox1")->count(), 1);
    QVERIFY(lastTime(home).isEmpty());
  }

  void missingSeDayFileStopsThePastRunConstruction() {
    NotifierScope notifier;
    // A source whose first day lacks the runners of one racecourse.
    QTemporaryDir sourceDir;
    std::filesystem::copy(toUtf8(fixtureSource()), toUtf8(sourceDir.path()),
                          std::filesystem::copy_options::recursive);
    QDir data(sourceDir.path() + QStringLiteral("/RACEDIFF"));
    const QStringList names = data.entryList(QDir::Files, QDir::Name);
    auto linesOf = [&](const QString& name) {
      QFile file(data.filePath(name));
      return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList();
    };
    QByteArray dropped;  // date and racecourse of the first final race
    for (const QString& name : names) {
      for (const QByteArray& line : linesOf(name)) {
        if (dropped.isEmpty() && line.startsWith("RA7")) dropped = line.mid(11, 10);
      }
    }
    for (const QString& name : names) {
      QByteArrayList kept;
      for (const QByteArray& line : linesOf(name)) {
        if (!(line.startsWith("SE") && line.mid(11, 10) == dropped)) kept.append(line);
      }
      QFile file(data.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(kept.join('\n'));
    }
    QVERIFY(!dropped.isEmpty());
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    setSource(home, sourceDir.path());
    MainWindow window(home);
    AcquisitionDialog* dialog = openDialog(window);
    dialog->findChild<QDateTimeEdit*>("DateTimePicker1")
        ->setDateTime(QDateTime::fromString("2020/01/01 00:00:00", kPickerFormat));
    QSignalSpy ended(dialog, &AcquisitionDialog::transferEnded);
    dialog->findChild<QPushButton*>("ButtonStart")->click();
    QVERIFY(QTest::qWaitFor([&] { return ended.count() == 1; }, 120000));
    QTest::qWait(50);  // the last reports are queued behind the end
    QCOMPARE(countOf(*notifier, fromUtf8(acquire::kIncompleteDataMessage)), 1);
    QVERIFY(std::any_of(notifier->messages.begin(), notifier->messages.end(), [](const auto& m) {
      return m.text == fromUtf8(acquire::kIncompleteDataMessage) && m.beep;
    }));
    QVERIFY(dialog->findChild<QLabel*>("Label9")->text() !=
            fromUtf8(acquire::kConstructionDoneText));
  }
};

QTEST_MAIN(AcquisitionTest)
#include "acquisition_test.moc"
