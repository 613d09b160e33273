// Start-up, settings written by the window, the option menu and the
// hit-report buttons.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/settings.h"
#include "app/startup.h"
#include "command_runner.h"
#include "gui_test_support.h"
#include "gui_text.h"
#include "manual.h"
#include "store/record.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void firstStartMakesFoldersAndOpensDefaultWindow() {
    NotifierScope notifier;
    TestHome dir(/*empty=*/true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    for (const char* folder : {"DATA", "SEI", "yLZH"}) {
      QVERIFY2(QFileInfo(dir.path() + "/" + folder).isDir(), folder);
    }
    QVERIFY(QFile::exists(dir.path() + "/UserSet.usd"));

    MainWindow window(home);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvalle for JRA-VAN Data Lab."));
    QCOMPARE(window.pos(), QPoint(10, 10));
    QCOMPARE(window.size(), QSize(630, 450));
    QCOMPARE(window.findChild<QComboBox*>("DateCombo")->count(), 0);
    QVERIFY(window.findChild<QWidget*>("PageControl1")->isHidden());
    QVERIFY(notifier->messages.empty());
  }

  void geometryIsKeptAcrossARestart() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    {
      MainWindow window(home);
      window.show();
      window.move(40, 60);
      window.resize(800, 520);
      QVERIFY(window.close());
    }
    app::Settings settings(home.iniPath());
    QCOMPARE(settings.integer(app::settings::kLocateLeft), 40);
    QCOMPARE(settings.integer(app::settings::kLocateTop), 60);
    QCOMPARE(settings.integer(app::settings::kLocateWidth), 800);
    MainWindow again(home);
    again.show();
    QCOMPARE(again.pos(), QPoint(40, 60));
    QCOMPARE(again.size(), QSize(800, 520));
  }

  void optionTogglesAreWrittenAtOnce_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("initially");
    QTest::newRow("N9") << "N9"
                        << "ReadKako"
                        << "IgnoDate" << false;
    QTest::newRow("N19") << "N19"
                         << "AllRace"
                         << "ExecComp" << true;
    QTest::newRow("N5") << "N5"
                        << "datalist"
                        << "close" << false;
  }
  void optionTogglesAreWrittenAtOnce() {
    QFETCH(QString, item);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, initially);
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    auto* action = window.findChild<QAction*>(item);
    QVERIFY(action != nullptr);
    QVERIFY(action->isCheckable());
    QCOMPARE(action->isChecked(), initially);
    const app::SettingKey* setting = app::findSettingKey(toUtf8(section), toUtf8(key));
    QVERIFY(setting != nullptr);

    action->trigger();
    // Read by a settings object of its own: the file itself has changed.
    QCOMPARE(app::Settings(home.iniPath()).boolean(*setting), !initially);
    action->trigger();
    QCOMPARE(app::Settings(home.iniPath()).boolean(*setting), initially);
  }

  void periodDialogWritesOnlyOnOk() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    auto run = [&](int value, bool ok) {
      QTimer::singleShot(0, [value, ok] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("過去走データ利用範囲指定"));
        auto* spin = dialog->findChild<QSpinBox*>("SpinEdit1");
        QCOMPARE(spin->minimum(), 365);
        QCOMPARE(spin->maximum(), 7300);
        spin->setValue(value);
        ok ? dialog->accept() : dialog->reject();
      });
      window.findChild<QAction*>("N6")->trigger();
    };
    run(400, false);
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kPastRunPeriod), 1826);
    run(400, true);
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kPastRunPeriod), 400);
    run(100, true);  // below the range: the spin box keeps 365
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kPastRunPeriod), 365);
  }

  void unprocessedDataNeedsTheLoadingOptions() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    window.findChild<QAction*>("N19")->trigger();  // off
    window.findChild<QAction*>("N21")->trigger();
    QCOMPARE(notifier->messages.size(), size_t{1});
    QCOMPARE(notifier->messages[0].text, fromUtf8(app::settings::kCompareAfterLoadingOffMessage));
    QVERIFY(notifier->messages[0].beep);
    window.findChild<QAction*>("N19")->trigger();  // on
    window.findChild<QAction*>("N9")->trigger();   // on
    window.findChild<QAction*>("N21")->trigger();
    QCOMPARE(notifier->messages.back().text, fromUtf8(app::settings::kIgnorePastRunDatesOnMessage));
    QVERIFY(!window.runner().busy());
  }

  void oddsFolderIsStoredAndABrokenArchiveIsReported() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    const QString folder = dir.path() + QStringLiteral("/予想");
    window.setOddsFolder(folder);
    QCOMPARE(fromCp932(app::Settings(home.iniPath()).text(app::settings::kOddsFolder)), folder);

    QFile archive(dir.path() + "/yLZH/OZ240106.lzh");
    QVERIFY(archive.open(QIODevice::WriteOnly));
    archive.write("not an archive");
    archive.close();
    window.importPredictedOdds(archive.fileName());
    QVERIFY(waitForCommand(window));
    QCOMPARE(notifier->messages.size(), size_t{1});
    QCOMPARE(notifier->messages[0].text, QStringLiteral("データが解凍できませんでした。"));
    QVERIFY(notifier->messages[0].beep);
  }

  void oddsArchiveMadeWithJlhaShowsOnTheLoadedDay() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    window.show();
    QVERIFY(loadFinalDay(window));
    // A JRDB standard-odds file of every race of the day: horse h at 10 + h.
    const model::DayTables& tables = window.session().tables();
    QByteArray text;
    QString date;
    for (size_t line = 0; line < window.session().raceList().size(); ++line) {
      const std::string_view ra = tables.race(window.session().raceSlotOfLine(int(line)));
      date = QString::fromLatin1(store::head::kRaceDate.in(ra).data(), 8);
      const int runners = store::ra::kRegisteredRunners.numberIn(ra);
      QByteArray record(955, ' ');
      record.replace(0, 2, QByteArray(store::head::kRacecourseCode.in(ra).data(), 2));
      record.replace(4, 6,
                     QStringLiteral("%1%2%3%4")
                         .arg(store::head::kMeeting.numberIn(ra) % 10)
                         .arg(store::head::kDayOfMeeting.numberIn(ra) % 10)
                         .arg(store::head::kRaceNumber.numberIn(ra), 2, 10, QChar('0'))
                         .arg(runners, 2)
                         .toLatin1());
      for (int h = 1; h <= runners; ++h) {
        record.replace(10 + 5 * (h - 1), 5,
                       QStringLiteral("%1").arg(10.0 + h, 5, 'f', 1).toLatin1());
      }
      text += record + "\r\n";
    }
    const QString stem = date.mid(2);
    QFile member(dir.path() + QStringLiteral("/Oz%1.txt").arg(stem));
    QVERIFY(member.open(QIODevice::WriteOnly));
    member.write(text);
    member.close();
    const QString archive = dir.path() + QStringLiteral("/OZ%1.lzh").arg(stem);
    QProcess jlha;
    jlha.setWorkingDirectory(dir.path());
    jlha.start(QStringLiteral("jlha"),
               {QStringLiteral("a"), archive, QFileInfo(member).fileName()});
    QVERIFY2(jlha.waitForFinished(30000) && jlha.exitCode() == 0,
             "jlha (jlha-utils) must be installed");

    window.importPredictedOdds(archive);
    QVERIFY(waitForCommand(window));
    QVERIFY(waitForCommand(window));  // the day is loaded again
    QCOMPARE(notifier->messages.size(), size_t{1});
    QVERIFY(notifier->messages[0].text.startsWith(QStringLiteral("JRDB基準オッズデータを解凍し")));
    const int slot = window.session().raceSlotOfLine(0);
    QCOMPARE(window.session().tables().analysis(slot).predictedOdds[0], 11.0);
    // The race card shows them: horse h's odds column reads 10 + h.
    auto* card = window.findChild<QTableView*>("StringGrid4");
    int oddsColumn = -1;
    for (int column = 0; column < card->model()->columnCount(); ++column) {
      if (card->model()->headerData(column, Qt::Horizontal).toString() == QStringLiteral("ｵｯｽﾞ")) {
        oddsColumn = column;
      }
    }
    QVERIFY(oddsColumn >= 0);
    for (int row = 0; row < card->model()->rowCount(); ++row) {
      const int horse = card->model()->index(row, 1).data().toString().trimmed().toInt();
      QCOMPARE(card->model()->index(row, oddsColumn).data().toString().trimmed().toDouble(),
               10.0 + horse);
    }
  }

  void hitReportButtonsFollowTheMarkerFile() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    {
      MainWindow window(home);
      QVERIFY(window.findChild<QToolButton*>("TekiAnaBtn")->isHidden());
      QVERIFY(window.findChild<QToolButton*>("TekiAnaBtn2")->isHidden());
    }
    QFile marker(dir.path() + "/MasterControlBrenn.key");
    QVERIFY(marker.open(QIODevice::WriteOnly));  // empty is enough
    marker.close();
    MainWindow window(home);
    QVERIFY(!window.findChild<QToolButton*>("TekiAnaBtn")->isHidden());
    QVERIFY(!window.findChild<QToolButton*>("TekiAnaBtn2")->isHidden());
    QCOMPARE(window.findChild<QToolButton*>("TekiAnaBtn2")->text(), QStringLiteral("穴的中"));
  }

  // The Help menu and the tool bar's help button hand the manual's table of
  // contents to the desktop: the installed manual, else the build folder's.
  void helpOpensTheManualsContents() {
    NotifierScope notifier;
    TestHome dir(true);
    MainWindow window(app::startUp(toUtf8(dir.path())));
    auto* contents = window.findChild<QAction*>("HelpContentsItem");
    QVERIFY(contents);
    QVERIFY(window.findChild<QMenu*>("HelpMenu")->actions().contains(contents));
    contents->trigger();
    QCOMPARE(notifier->opened.size(), 1);
    const QString index = notifier->opened.front();
    QVERIFY2(index.endsWith(QStringLiteral("/manual/index.html")), qPrintable(index));
    QVERIFY2(QFileInfo(index).isFile(), qPrintable(index));
    const QStringList candidates = manualCandidates();
    QVERIFY(candidates.contains(index));
    for (const QString& earlier : candidates.mid(0, candidates.indexOf(index))) {
      QVERIFY2(!QFileInfo::exists(earlier), qPrintable(earlier));
    }
    QVERIFY(notifier->messages.empty());
    // Each chapter the contents link to was built beside it.
    QFile page(index);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QRegularExpressionMatchIterator links =
        QRegularExpression(QStringLiteral("href=\"([^\":#]+)[\"#]")).globalMatch(html);
    QVERIFY(links.hasNext());
    while (links.hasNext()) {
      const QString chapter = links.next().captured(1);
      QVERIFY2(QFileInfo(QFileInfo(index).dir(), chapter).isFile(), qPrintable(chapter));
    }

    window.findChild<QToolButton*>("HelpBtn")->click();
    QCOMPARE(notifier->opened, QStringList({index, index}));
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
