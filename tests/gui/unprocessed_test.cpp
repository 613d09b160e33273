// The unprocessed race days: the year dialog, the list window and the
// processing of the chosen days.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "gui_test_support.h"
#include "gui_text.h"
#include "unprocessed_dialogs.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

class UnprocessedTest : public QObject {
  Q_OBJECT

 private slots:
  void daysOfAYearAreListedAndProcessedOldestFirst() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    const QStringList all = fixtureDays(window);
    const int year = all[0].left(4).toInt();

    UnprocessedYearDialog dialog(window.session(), year);
    QCOMPARE(dialog.yearBox()->value(), year);
    QCOMPARE(dialog.yearBox()->maximum(), year);
    dialog.yearBox()->setValue(year - 1);
    dialog.accept();
    QCOMPARE(notifier->messages.back().text,
             QStringLiteral("%1年の未処理データはありません。").arg(year - 1));
    QVERIFY(notifier->messages.back().beep);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    dialog.yearBox()->setValue(year);
    QStringList listed;
    QTimer::singleShot(0, [&listed] {
      auto* list = qobject_cast<UnprocessedListDialog*>(QApplication::activeModalWidget());
      QVERIFY(list != nullptr);
      QCOMPARE(list->windowTitle(), QStringLiteral("未処理データリスト"));
      for (int i = 0; i < list->list()->count(); ++i) listed << list->list()->item(i)->text();
      list->findChild<QPushButton*>("BitBtn1")->click();  // Start
    });
    dialog.accept();
    QCOMPARE(listed, all);  // nothing was processed yet, newest first
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(static_cast<int>(dialog.days().size()), all.size());

    // The two oldest days, processed oldest first: the newest of them stays
    // loaded and both are recorded as processed.
    const std::vector<std::string> chosen = {toUtf8(all[all.size() - 2]), toUtf8(all.back())};
    window.processDays(chosen);
    QVERIFY(waitForCommand(window));
    QCOMPARE(notifier->messages.back().text, QStringLiteral("処理が終了しました。"));
    QCOMPARE(fromUtf8(window.session().loadedDay()), all[all.size() - 2]);
    QCOMPARE(window.findChild<QComboBox*>("DateCombo")->currentText(), all[all.size() - 2]);
    QFile processed(dir.path() + QStringLiteral("/yosowriten%1.txt").arg(year));
    QVERIFY(processed.open(QIODevice::ReadOnly));
    const QString text = fromCp932(processed.readAll().toStdString());
    QVERIFY(text.contains(all.back()) && text.contains(all[all.size() - 2]));
    QVERIFY(!text.contains(all[0]));
  }
};

QTEST_MAIN(UnprocessedTest)
#include "unprocessed_test.moc"
