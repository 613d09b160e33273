// The user combination settings dialog and the odds-ceiling dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/settings.h"
#include "app/startup.h"
#include "gui_test_support.h"
#include "gui_text.h"
#include "settings_dialogs.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

namespace {

QString lastMessage(const RecordingNotifier& notifier) {
  return notifier.messages.empty() ? QString() : notifier.messages.back().text;
}

}  // namespace

class SettingsDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void userSettingsAreShownCheckedSavedAndDeleted() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    UserSettingsDialog dialog(home);
    auto* settings = dialog.findChild<QComboBox*>("SelCombo");
    auto* name = dialog.findChild<QLineEdit*>("Edit1");
    auto* axis1 = dialog.findChild<QComboBox*>("JikuItem1");
    auto* axis1Rank = dialog.findChild<QComboBox*>("JikuJun1");
    auto* partner3 = dialog.findChild<QComboBox*>("HimoJun3");
    auto* ok = dialog.findChild<QPushButton*>("BitBtn2");

    // The default setting as it stands in UserSet.usd.
    QCOMPARE(settings->count(), 1);
    QCOMPARE(name->text(), QStringLiteral("設定１"));
    QCOMPARE(axis1->currentText(), QStringLiteral("pt勝率"));
    QCOMPARE(axis1Rank->currentText(), QStringLiteral(" 1"));
    QCOMPARE(partner3->currentText(), QStringLiteral(" 5"));
    QVERIFY(dialog.findChild<QCheckBox*>("CheckBox1")->isChecked());

    // The core's checks, in order, with the beep.
    dialog.findChild<QToolButton*>("SpeedButton3")->click();  // clear axis 1
    ok->click();
    QCOMPARE(lastMessage(*notifier), QStringLiteral("軸馬1を入力してください。"));
    QVERIFY(notifier->messages.back().beep);
    axis1->setCurrentIndex(axis1->findText(QStringLiteral("勝率")));
    ok->click();
    QCOMPARE(lastMessage(*notifier), QStringLiteral("軸馬1の入力が不正です。"));
    axis1Rank->setCurrentIndex(axis1Rank->findText(QStringLiteral(" 2")));

    // A new name is appended and becomes the chosen setting.
    name->setText(QStringLiteral("設定２"));
    ok->click();
    QCOMPARE(lastMessage(*notifier), QStringLiteral("設定[設定２]を保存しました。"));
    QCOMPARE(settings->count(), 2);
    QCOMPARE(settings->currentIndex(), 1);
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kUserSettingId), 1);

    // Another setting under the same name asks; No writes nothing and says
    // nothing more. (The same setting again is saved without a question.)
    const size_t shown = notifier->messages.size();
    auto* trios = dialog.findChild<QCheckBox*>("CheckBox1");
    trios->setChecked(!trios->isChecked());
    notifier->answers.push_back(false);
    ok->click();
    QCOMPARE(notifier->questions.back(),
             QStringLiteral("[設定２]はすでに登録済みの名称です。上書きしますか?"));
    QCOMPARE(notifier->messages.size(), shown);
    QCOMPARE(settings->count(), 2);

    // Choosing a setting stores it; deleting it makes the first the chosen one.
    settings->setCurrentIndex(0);
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kUserSettingId), 0);
    settings->setCurrentIndex(1);
    dialog.findChild<QToolButton*>("SpeedButton2")->click();
    QCOMPARE(notifier->questions.back(), QStringLiteral("設定２ を削除しますか?"));
    QCOMPARE(settings->count(), 1);
    QCOMPARE(name->text(), QStringLiteral("設定１"));
    QCOMPARE(app::Settings(home.iniPath()).integer(app::settings::kUserSettingId), 0);
  }

  void oddsCeilingIsCheckedAndStored() {
    NotifierScope notifier;
    TestHome dir(true);
    const app::Home home = app::startUp(toUtf8(dir.path()));
    app::Settings settings(home.iniPath());
    OddsCeilingDialog dialog(home);
    auto* value = dialog.findChild<QLineEdit*>("OddsEdit");
    auto* ok = dialog.findChild<QPushButton*>("BitBtn1");
    QCOMPARE(value->text(), QStringLiteral("10.0"));
    const struct {
      const char* input;
      const char* message;
    } cases[] = {{"", "入力がありません。"},
                 {"0.5", "１倍未満のｵｯｽﾞは指定できません。"},
                 {"25", "２０倍越のｵｯｽﾞは指定できません。"},
                 {"12.5", "ｵｯｽﾞの上限を12.5に指定しました。"}};
    for (const auto& c : cases) {
      value->setText(QString::fromUtf8(c.input));
      ok->click();
      QCOMPARE(lastMessage(*notifier), QString::fromUtf8(c.message));
    }
    QCOMPARE(settings.decimal(app::settings::kOddsCeiling), 12.5);
  }
};

QTEST_MAIN(SettingsDialogsTest)
#include "settings_dialogs_test.moc"
