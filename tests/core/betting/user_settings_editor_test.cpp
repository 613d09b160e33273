#include "betting/user_settings_editor.h"

#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "support/temp_dir.h"

namespace orvalle::betting {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// The form of the default setting as the dialog shows it: ranks are the
// list's entries (" 1", "10").
UserSetting defaultForm() {
  UserSetting form = parseUserSetting(sj(kDefaultUserSettingLine));
  auto entry = [](RankRule& rule) { rule.rank = store::format("%2d", std::stoi(rule.rank)); };
  entry(form.axis1);
  entry(form.axis2);
  for (RankRule& partner : form.partners) entry(partner);
  return form;
}

Confirm answer(bool yes, std::vector<std::string>* asked = nullptr) {
  return [yes, asked](const std::string& question) {
    if (asked != nullptr) asked->push_back(question);
    return yes;
  };
}

TEST(UserSettingsEditorTest, EveryValidationMessage) {
  const std::string pt = sj("pt勝率");
  const std::string winRate = sj("勝率");
  struct Case {
    const char* what;
    std::function<void(UserSetting&)> change;
    std::string message;
  };
  const Case cases[] = {
      {"axis 1 empty", [](UserSetting& f) { f.axis1 = {}; }, "軸馬1を入力してください。"},
      {"axis 1 rank only", [](UserSetting& f) { f.axis1.criterion.clear(); },
       "軸馬1の入力が不正です。"},
      {"axis 1 criterion only", [](UserSetting& f) { f.axis1.rank = " "; },
       "軸馬1の入力が不正です。"},
      {"axis 1 unknown criterion", [](UserSetting& f) { f.axis1.criterion = "x"; },
       "軸馬1の入力が不正です。"},
      {"axis 1 rank 19", [](UserSetting& f) { f.axis1.rank = "19"; }, "軸馬1の入力が不正です。"},
      {"axis 2 empty", [](UserSetting& f) { f.axis2 = {}; }, "軸馬2を入力してください。"},
      {"axis 2 rank only", [](UserSetting& f) { f.axis2.criterion.clear(); },
       "軸馬2の入力が不正です。"},
      {"axes equal",
       [](UserSetting& f) {
         f.axis2 = {f.axis1.criterion, " 1 "};
       },
       "軸馬1と軸馬2は別の馬を入力してください。"},
      {"partner 1 empty", [](UserSetting& f) { f.partners[0] = {}; },
       "流し馬１点目を入力してください。"},
      {"partner 4 rank only", [](UserSetting& f) { f.partners[3].criterion.clear(); },
       "流し馬4点目の入力が不正です。"},
      {"partner 10 criterion only", [](UserSetting& f) { f.partners[9].rank.clear(); },
       "流し馬10点目の入力が不正です。"},
      {"partner as axis 1",
       [pt](UserSetting& f) {
         f.partners[2] = {pt, " 1"};
       },
       "流し馬3点目が軸馬1と重複しています。"},
      {"partner as axis 2",
       [pt](UserSetting& f) {
         f.partners[5] = {pt, " 2"};
       },
       "流し馬6点目が軸馬2と重複しています。"},
      {"partners repeated",
       [pt](UserSetting& f) {
         f.partners[7] = {pt, " 4"};
       },
       "流し馬2点目と流し馬8点目と重複しています。"},
      {"name empty", [](UserSetting& f) { f.name = " \t "; }, "設定名を入力してくだい。"},
  };
  for (const Case& c : cases) {
    UserSetting form = defaultForm();
    ASSERT_TRUE(validateUserSetting(form).ok());
    c.change(form);
    Status status = validateUserSetting(form);
    EXPECT_FALSE(status.ok()) << c.what;
    EXPECT_EQ(status.message(), c.message) << c.what;
  }

  // Partner " 3" of pt勝率 is the same rule as axis pt勝率 "3".
  UserSetting form = defaultForm();
  form.axis1 = {pt, "3"};
  form.partners[0] = {pt, " 3"};
  EXPECT_EQ(validateUserSetting(form).message(), "流し馬1点目が軸馬1と重複しています。");
  // The same rank of another criterion is another rule, and empty partner
  // rows never repeat each other.
  form = defaultForm();
  form.partners[0] = {winRate, " 1"};
  form.partners[8] = {};
  form.partners[9] = {};
  EXPECT_TRUE(validateUserSetting(form).ok()) << validateUserSetting(form).message();
}

class UserSettingsEditorFileTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return m_dir / "UserSet.usd"; }
  TempDir m_dir;
};

TEST_F(UserSettingsEditorFileTest, SavingAppendsAndAnswersNoToAnExistingName) {
  writeFile(file(), sj(kDefaultUserSettingLine) + "\r\n");
  UserSettingsEditor editor(file());
  ASSERT_EQ(editor.lines().size(), 1u);

  UserSetting form = defaultForm();
  form.name = sj("  穴狙い ");
  form.axis1 = {sj("単人気"), " 1"};
  form.axis2 = {sj("勝pt逆順"), "2"};  // a text the reading rule gives
  form.partners[9] = {};
  form.popularityTrios = false;
  SettingsChange saved = editor.save(form, answer(false));
  ASSERT_TRUE(saved) << saved.message;
  EXPECT_EQ(saved.message, "設定[穴狙い]を保存しました。");
  EXPECT_EQ(saved.setId, 1);
  const std::string line =
      sj("穴狙い,単人気,1,勝pt逆順,2,pt勝率, 3,pt勝率, 4,pt勝率, 5,pt勝率, 6,pt勝率, 7,pt勝率, "
         "8,pt勝率, 9,pt勝率,10,pt勝率,11,,,0,");
  EXPECT_EQ(readFile(file()), sj(kDefaultUserSettingLine) + "\r\n" + line + "\r\n");

  // The same name again: the question, and No leaves everything.
  std::vector<std::string> asked;
  form.popularityTrios = true;
  SettingsChange declined = editor.save(form, answer(false, &asked));
  EXPECT_EQ(declined.outcome, ChangeOutcome::kDeclined);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "[穴狙い]はすでに登録済みの名称です。上書きしますか?");
  EXPECT_EQ(declined.message, asked[0]);
  EXPECT_EQ(editor.lines().size(), 2u);
  EXPECT_EQ(readFile(file()), sj(kDefaultUserSettingLine) + "\r\n" + line + "\r\n");
}

TEST_F(UserSettingsEditorFileTest, OverwritingKeepsThePlaceButSelectsTheLast) {
  writeFile(file(), sj(kDefaultUserSettingLine) + "\r\n" +
                        sj("二,勝率,1,勝率,2,勝率, 3,,,,,,,,,,,,,,,,,,,1,\r\n"));
  UserSettingsEditor editor(file());
  UserSetting form = defaultForm();
  form.axis1 = {sj("勝数"), " 5"};
  SettingsChange saved = editor.save(form, answer(true));
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved.message, "設定[設定１]を上書保存しました。");
  EXPECT_EQ(saved.setId, 1);  // the last line, not the one replaced
  ASSERT_EQ(editor.lines().size(), 2u);
  EXPECT_EQ(parseUserSetting(editor.lines()[0]).axis1, (RankRule{sj("勝数"), "5"}));
  EXPECT_EQ(parseUserSetting(editor.lines()[1]).name, sj("二"));
  EXPECT_EQ(UserSettingsEditor(file()).lines(), editor.lines());
}

TEST_F(UserSettingsEditorFileTest, ANameWithACommaIsQuotedAndReadsBack) {
  UserSettingsEditor editor(file());  // no file: no settings
  EXPECT_TRUE(editor.lines().empty());
  UserSetting form = defaultForm();
  form.name = sj("本命, \"堅め\"");
  ASSERT_TRUE(editor.save(form, answer(false)));
  const std::string quoted = sj("\"本命, \"\"堅め\"\"\",pt勝率,1,");
  EXPECT_EQ(readFile(file()).substr(0, quoted.size()), quoted);
  UserSettingsEditor reread(file());
  EXPECT_EQ(reread.names(), std::vector<std::string>{sj("本命, \"堅め\"")});
  EXPECT_EQ(reread.indexOfName(sj("本命, \"堅め\"")), 0);
  // A line break cannot be kept in a line.
  form.name = "a\nb";
  EXPECT_EQ(editor.save(form, answer(true)).outcome, ChangeOutcome::kInvalid);
  EXPECT_EQ(editor.lines().size(), 1u);
}

TEST_F(UserSettingsEditorFileTest, ShowingASetting) {
  writeFile(file(), sj(kDefaultUserSettingLine) + "\r\n" +
                        sj("二,勝率,1,謎,2,勝率,3,x,4,,,,,,,,,,,,,,,,,0,\r\n"));
  UserSettingsEditor editor(file());
  UserSetting form;
  EXPECT_EQ(editor.show(0, form), 0);
  EXPECT_EQ(form, defaultForm());

  // Setting 1: axis 2 has no such criterion and keeps what was shown; the
  // unknown partner criterion stays cleared; ranks are the list's entries.
  EXPECT_EQ(editor.show(1, form), 1);
  EXPECT_EQ(form.name, sj("二"));
  EXPECT_EQ(form.axis1, (RankRule{sj("勝率"), " 1"}));
  EXPECT_EQ(form.axis2, (RankRule{sj("pt勝率"), " 2"}));
  EXPECT_EQ(form.partners[0], (RankRule{sj("勝率"), " 3"}));
  EXPECT_EQ(form.partners[1], (RankRule{"", " 4"}));
  EXPECT_TRUE(form.partners[2].empty());
  EXPECT_FALSE(form.popularityTrios);

  // A stored index beyond the last line falls back to the first.
  EXPECT_EQ(editor.show(7, form), 0);
  EXPECT_EQ(form.name, sj("設定１"));
}

TEST_F(UserSettingsEditorFileTest, DeletingTheLastSettingLeavesAnEmptyFile) {
  writeFile(file(), sj(kDefaultUserSettingLine) + "\r\n");
  UserSettingsEditor editor(file());
  std::vector<std::string> asked;
  EXPECT_EQ(editor.remove(0, answer(false, &asked)).outcome, ChangeOutcome::kDeclined);
  EXPECT_EQ(asked, std::vector<std::string>{"設定１ を削除しますか?"});
  EXPECT_EQ(editor.lines().size(), 1u);
  EXPECT_THROW((void)editor.remove(1, answer(true)), Error);

  SettingsChange removed = editor.remove(0, answer(true));
  ASSERT_TRUE(removed);
  EXPECT_EQ(removed.setId, 0);
  EXPECT_TRUE(editor.lines().empty());
  EXPECT_EQ(readFile(file()), "");
  EXPECT_TRUE(std::filesystem::exists(file()));

  // Nothing left: the message, and the form shows empty fields.
  SettingsChange nothing = editor.remove(0, answer(true));
  EXPECT_EQ(nothing.outcome, ChangeOutcome::kInvalid);
  EXPECT_EQ(nothing.message, "削除項目がありません。");
  UserSetting form = defaultForm();
  EXPECT_EQ(editor.show(0, form), 0);
  EXPECT_TRUE(form.name.empty());
  EXPECT_TRUE(form.axis1.empty());
  EXPECT_TRUE(form.axis2.empty());
  EXPECT_TRUE(form.partners[0].empty());
}

TEST_F(UserSettingsEditorFileTest, AFailedWriteChangesNothing) {
  const std::string before = sj(kDefaultUserSettingLine) + "\r\n";
  writeFile(file(), before);
  UserSettingsEditor editor(file());
  UserSetting form = defaultForm();
  form.name = "new";
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kRename);
  EXPECT_THROW((void)editor.save(form, answer(true)), Error);
  EXPECT_EQ(editor.lines().size(), 1u);
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kSync);
  EXPECT_THROW((void)editor.remove(0, answer(true)), Error);
  EXPECT_EQ(editor.lines().size(), 1u);
  EXPECT_EQ(readFile(file()), before);
}

}  // namespace
}  // namespace orvalle::betting
