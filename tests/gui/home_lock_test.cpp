// The window's own changes of the home (options, dialogs, window places)
// while another program holds the home.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include "app/home_lock.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/user_settings_commands.h"
#include "dialogs.h"
#include "gui_test_support.h"
#include "gui_text.h"
#include "print_preview.h"
#include "settings_dialogs.h"
#include "store/cp932.h"
#include "store/error.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;
using namespace std::chrono_literals;

namespace {

QByteArray fileBytes(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers every question Yes and notes whether the home was free to take
// while it was asked.
class ProbingNotifier final : public Notifier {
 public:
  explicit ProbingNotifier(app::Home home) : m_home(std::move(home)) {}
  void inform(QWidget*, const QString& text, bool) override { messages << text; }
  bool confirm(QWidget*, const QString& text) override {
    questions << text;
    try {
      const app::HomeLock probe(m_home, app::HomeAccess::kWrite, {}, 0ms);
      homeFree.push_back(true);
    } catch (const Error&) {
      homeFree.push_back(false);
    }
    return true;
  }
  void beep() override {}
  bool openDocument(const QString&) override { return false; }

  QStringList messages;
  QStringList questions;
  std::vector<bool> homeFree;

 private:
  app::Home m_home;
};

}  // namespace

class HomeLockTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ::setenv("ORVALLE_LOCK_WAIT", "0.2", 1); }
  void cleanupTestCase() { ::unsetenv("ORVALLE_LOCK_WAIT"); }

  // Each change: refused with the busy message while another program holds
  // the home, the settings file untouched; written once the home is free.
  void changesWaitForAnotherProgram() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    const QString busy = fromUtf8(app::homeBusyMessage(home.root()));
    const struct {
      const char* name;
      std::function<void()> change;
    } changes[] = {
        {"option", [&] { window.findChild<QAction*>("N9")->trigger(); }},
        {"odds ceiling",
         [&] {
           OddsCeilingDialog dialog(home);
           dialog.findChild<QLineEdit*>("OddsEdit")->setText(QStringLiteral("12.5"));
           dialog.findChild<QPushButton*>("BitBtn1")->click();
         }},
        {"period",
         [&] {
           PeriodDialog dialog(home);
           dialog.spinBox()->setValue(400);
           dialog.accept();
         }},
        {"print zoom",
         [&] {
           PrintPreviewDialog preview({}, home, QStringLiteral("x.pdf"));
           preview.zoomChoice()->setCurrentIndex(3);  // never closed: no place written
         }},
    };
    for (const auto& c : changes) {
      const QByteArray before = fileBytes(home.iniPath());
      {
        const app::HomeLock other(home, app::HomeAccess::kWrite);
        const size_t shown = notifier->messages.size();
        c.change();
        QVERIFY2(notifier->messages.size() == shown + 1, c.name);
        QCOMPARE(notifier->messages.back().text, busy);
        QVERIFY(notifier->messages.back().beep);
        QVERIFY2(fileBytes(home.iniPath()) == before, c.name);
      }
      const size_t shown = notifier->messages.size();
      c.change();
      QVERIFY2(fileBytes(home.iniPath()) != before, c.name);
      // The odds ceiling tells what it stored; the others say nothing.
      for (size_t i = shown; i < notifier->messages.size(); ++i) {
        QVERIFY2(notifier->messages[i].text != busy, c.name);
      }
    }
    app::Settings settings(home.iniPath());
    QVERIFY(settings.boolean(app::settings::kIgnorePastRunDates));
    QVERIFY(window.findChild<QAction*>("N9")->isChecked());
    QCOMPARE(settings.decimal(app::settings::kOddsCeiling), 12.5);
    QCOMPARE(settings.integer(app::settings::kPastRunPeriod), 400);
    QCOMPARE(settings.integer(app::settings::kPrintZoom), 3);
  }

  // Closing while another program holds the home keeps the old place,
  // without a box and without standing still.
  void windowPlaceIsSkippedSilentlyWhenBusy() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    MainWindow window(home);
    window.show();
    window.move(40, 60);
    const QByteArray before = fileBytes(home.iniPath());
    ::setenv("ORVALLE_LOCK_WAIT", "3", 1);  // a wait, were there one, would show
    {
      const app::HomeLock other(home, app::HomeAccess::kWrite);
      QElapsedTimer clock;
      clock.start();
      QVERIFY(window.close());
      QVERIFY(clock.elapsed() < 1000);  // no wait at all, not even the short one
    }
    ::setenv("ORVALLE_LOCK_WAIT", "0.2", 1);
    QVERIFY(notifier->messages.empty());
    QCOMPARE(fileBytes(home.iniPath()), before);
    window.show();
    QVERIFY(window.close());
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kLocateLeft), 40);
  }

  // The combination settings dialog stays open while another program adds
  // a setting: its own save keeps that one, and its question is asked with
  // the home free.
  void userSettingsKeepAnotherProgramsChange() {
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    auto owned = std::make_unique<ProbingNotifier>(home);
    ProbingNotifier& notifier = *owned;
    std::unique_ptr<Notifier> previous = Notifier::install(std::move(owned));
    {
      UserSettingsDialog dialog(home);
      auto* list = dialog.findChild<QComboBox*>("SelCombo");
      QCOMPARE(list->count(), 1);
      const std::string other = cp932::fromUtf8("他,勝率,1,勝率,2,勝率, 3");
      QVERIFY(
          app::UserSettingsCommands(home).saveLine(other, [](const std::string&) { return true; }));

      // The first setting again, changed: it is overwritten after the
      // question, the other program's setting stays.
      auto* trios = dialog.findChild<QCheckBox*>("CheckBox1");
      trios->setChecked(!trios->isChecked());
      dialog.findChild<QPushButton*>("BitBtn2")->click();
      QCOMPARE(notifier.questions,
               QStringList{QStringLiteral("[設定１]はすでに登録済みの名称です。上書きしますか?")});
      QCOMPARE(notifier.homeFree, std::vector<bool>{true});
      const std::vector<std::string> names = app::UserSettingsCommands(home).editor().names();
      QCOMPARE(names.size(), size_t{2});
      QCOMPARE(fromCp932(names[1]), QStringLiteral("他"));
      QCOMPARE(list->count(), 2);

      // Deleting the setting shown deletes that one, found by its line, even
      // after another program put a setting before it.
      QFile file(QString::fromStdString(home.userSetPath().string()));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray lines = file.readAll();
      file.close();
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(QByteArray::fromStdString(cp932::fromUtf8("前,勝率,1,勝率,2,勝率, 4\r\n")) +
                 lines);
      file.close();
      list->setCurrentIndex(1);  // "他" as the list still shows it
      dialog.findChild<QToolButton*>("SpeedButton2")->click();
      QCOMPARE(notifier.questions.back(), QStringLiteral("他 を削除しますか?"));
      const std::vector<std::string> left = app::UserSettingsCommands(home).editor().names();
      QCOMPARE(left.size(), size_t{2});
      QCOMPARE(fromCp932(left[0]), QStringLiteral("前"));
      QCOMPARE(fromCp932(left[1]), QStringLiteral("設定１"));
      QVERIFY(notifier.homeFree.back());
    }
    Notifier::install(std::move(previous));
  }
};

QTEST_MAIN(HomeLockTest)
#include "home_lock_test.moc"
