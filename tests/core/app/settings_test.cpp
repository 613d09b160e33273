#include "app/settings.h"

#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/text_file.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kOpen = "\xA2";   // "｢"
const std::string kClose = "\xA3";  // "｣"

// Every line of the file ends in CR LF and is a section, an empty line, a
// comment or a plain "key=value" line.
void expectPlainIniLines(const std::string& bytes) {
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "line without CR LF at byte " << start;
    std::string line = bytes.substr(start, end - start);
    EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    if (!line.empty() && line.front() != '[' && line.front() != ';') {
      size_t equals = line.find('=');
      ASSERT_NE(equals, std::string::npos) << line;
      EXPECT_GT(equals, 0u) << line;
      EXPECT_NE(line[equals - 1], ' ') << "blank before '=': " << line;
    }
    start = end + 2;
  }
}

TEST(SettingsTest, EveryKeyReadsItsDefaultWithoutAFile) {
  TempDir dir;
  Settings settings(dir / "orvalle.ini");
  EXPECT_EQ(settings.integer(settings::kLocateTop), 10);
  EXPECT_EQ(settings.integer(settings::kLocateLeft), 10);
  EXPECT_EQ(settings.integer(settings::kLocateWidth), 630);
  EXPECT_EQ(settings.integer(settings::kLocateHeight), 450);
  EXPECT_FALSE(settings.boolean(settings::kIgnorePastRunDates));
  EXPECT_TRUE(settings.boolean(settings::kCompareAfterLoading));
  EXPECT_FALSE(settings.boolean(settings::kCloseRaceList));
  EXPECT_EQ(settings.integer(settings::kPastRunPeriod), 1826);
  EXPECT_DOUBLE_EQ(settings.decimal(settings::kOddsCeiling), 10.0);
  EXPECT_EQ(settings.integer(settings::kUserSettingId), 0);
  EXPECT_EQ(settings.text(settings::kOddsFolder), "");
  EXPECT_EQ(settings.text(settings::kLastAcquisitionTime), "");
  EXPECT_EQ(settings.integer(settings::kPrintWidth), 630);
  EXPECT_EQ(settings.integer(settings::kPrintZoom), 1);
  EXPECT_EQ(settings.text(settings::kJvLinkSource), "");
  EXPECT_EQ(settings.displayValue(settings::kOddsCeiling), "10.0");
  EXPECT_EQ(settings.displayValue(settings::kCompareAfterLoading), "1");
  EXPECT_FALSE(fs::exists(dir / "orvalle.ini"));
}

TEST(SettingsTest, KeysAreFoundWithoutRegardToLetterCase) {
  EXPECT_EQ(findSettingKey("dataspan", "PERIOD"), &allSettingKeys()[7]);
  EXPECT_EQ(*findSettingKey("Printlocate", "top"), settings::kPrintTop);
  EXPECT_EQ(*findSettingKey("locate", "top"), settings::kLocateTop);
  EXPECT_EQ(findSettingKey("locate", "depth"), nullptr);
  EXPECT_EQ(findSettingKey("", ""), nullptr);
  EXPECT_EQ(allSettingKeys().size(), 18u);
}

TEST(SettingsTest, TextRule) {
  struct Case {
    std::string stored;
    std::string read;
  };
  const std::string u = sj("ぅ");  // 0x82 0xA3: ends in the byte of "｣"
  const Case cases[] = {
      {"\"\"", ""},
      {kOpen + kClose, ""},
      {"\"abc\"", "abc"},
      {kOpen + "abc" + kClose, "abc"},
      {kOpen + sj("東京") + kClose, sj("東京")},
      {"\"\"\"\"", "\"\""},
      {"\"a\"b\"", "a\"b"},
      {"\"x\"", "x"},
      {"\"", "\""},
      {"\"abc", "\"abc"},
      {"abc\"", "abc\""},
      {"\"abc" + kClose, "\"abc" + kClose},
      {kOpen + "abc\"", kOpen + "abc\""},
      {kOpen + u, kOpen + u},  // "｢ぅ" is not enclosed: its last byte is half of "ぅ"
      {kOpen + "a" + u + kClose, "a" + u},
      {"plain text", "plain text"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readTextValue(c.stored), c.read) << cp932::toUtf8(c.stored);
  }
}

TEST(SettingsTest, StoredTextsReadBackUnchanged) {
  const std::string texts[] = {"",
                               "abc",
                               " leading blank",
                               "trailing blank ",
                               "\ttab",
                               "\"quoted\"",
                               "\"\"",
                               kOpen + kClose,
                               kOpen + "x" + kClose,
                               "a=b=c",
                               "; not a comment",
                               sj("C:\\競馬\\予想"),
                               "/home/u/replay"};
  for (const std::string& text : texts) {
    EXPECT_EQ(readTextValue(storedTextValue(text)), text) << cp932::toUtf8(text);
  }
  EXPECT_EQ(storedTextValue("abc"), "abc");
  EXPECT_EQ(storedTextValue(" x"), "\" x\"");

  TempDir dir;
  Settings settings(dir / "orvalle.ini");
  for (const std::string& text : texts) {
    settings.setText(settings::kJvLinkSource, text);
    EXPECT_EQ(settings.text(settings::kJvLinkSource), text) << cp932::toUtf8(text);
  }
}

TEST(SettingsTest, WrittenFileIsPlainKeyValueLinesWithCp932Values) {
  TempDir dir;
  Settings settings(dir / "orvalle.ini");
  settings.setInteger(settings::kPastRunPeriod, 400);
  settings.setBoolean(settings::kIgnorePastRunDates, true);
  settings.setDecimal(settings::kOddsCeiling, 5);
  EXPECT_NE(readFile(dir / "orvalle.ini").find("\r\nceil= 5.0\r\n"), std::string::npos);
  settings.setText(settings::kOddsFolder, sj("/home/u/予想オッズ"));
  settings.setText(settings::kLastAcquisitionTime, "2024/01/05 18:30:00");
  settings.setText(settings::kJvLinkSource, " /srv/a=b");

  std::string bytes = readFile(dir / "orvalle.ini");
  expectPlainIniLines(bytes);
  EXPECT_EQ(bytes,
            "[DataSpan]\r\nperiod=400\r\n\r\n"
            "[ReadKako]\r\nIgnoDate=1\r\n\r\n"
            // Read back without its blank, the ceiling is written so by the
            // next change of another key.
            "[OddsSpan]\r\nceil=5.0\r\n\r\n"
            "[Dir]\r\nyoso=" +
                sj("/home/u/予想オッズ") +
                "\r\n\r\n"
                "[JvDataGet]\r\nLastTime=2024/01/05 18:30:00\r\n\r\n"
                "[JvLink]\r\nsource=\" /srv/a=b\"\r\n");

  EXPECT_EQ(settings.integer(settings::kPastRunPeriod), 400);
  EXPECT_TRUE(settings.boolean(settings::kIgnorePastRunDates));
  EXPECT_DOUBLE_EQ(settings.decimal(settings::kOddsCeiling), 5.0);
  EXPECT_EQ(settings.displayValue(settings::kOddsCeiling), "5.0");
  EXPECT_EQ(settings.text(settings::kOddsFolder), sj("/home/u/予想オッズ"));
  EXPECT_EQ(settings.text(settings::kJvLinkSource), " /srv/a=b");

  // Changing a key rewrites its line only.
  settings.setBoolean(settings::kIgnorePastRunDates, false);
  EXPECT_FALSE(settings.boolean(settings::kIgnorePastRunDates));
  EXPECT_EQ(settings.integer(settings::kPastRunPeriod), 400);
  std::string again = readFile(dir / "orvalle.ini");
  expectPlainIniLines(again);
  EXPECT_NE(again.find("[ReadKako]\r\nIgnoDate=0\r\n"), std::string::npos);
  EXPECT_EQ(again.find("IgnoDate=1"), std::string::npos);
}

TEST(SettingsTest, StoredValuesAreReadByTheNumberRules) {
  TempDir dir;
  writeFile(dir / "orvalle.ini",
            "[ReadKako]\r\nIgnoDate=7\r\n"
            "[AllRace]\r\nExecComp=abc\r\n"
            "[datalist]\r\nclose=-1\r\n"
            "[dataspan]\r\nPERIOD =  400  \r\n"
            "[locate]\r\ntop=12abc\r\nleft=\r\nwidth=99999999999\r\nheight=-20\r\n"
            "[OddsSpan]\r\nceil=1e1\r\n"
            "[Printlocate]\r\ntop=5\r\ntop=6\r\n"
            "[PrintZoom]\r\nratio=3.5\r\n");
  Settings settings(dir / "orvalle.ini");
  EXPECT_TRUE(settings.boolean(settings::kIgnorePastRunDates));   // any non-zero is true
  EXPECT_TRUE(settings.boolean(settings::kCompareAfterLoading));  // junk reads the default
  EXPECT_TRUE(settings.boolean(settings::kCloseRaceList));
  EXPECT_EQ(settings.integer(settings::kPastRunPeriod), 400);
  EXPECT_EQ(settings.integer(settings::kLocateTop), 10);
  EXPECT_EQ(settings.integer(settings::kLocateLeft), 10);
  EXPECT_EQ(settings.integer(settings::kLocateWidth), 630);
  EXPECT_EQ(settings.integer(settings::kLocateHeight), -20);
  EXPECT_DOUBLE_EQ(settings.decimal(settings::kOddsCeiling), 10.0);
  EXPECT_EQ(settings.integer(settings::kPrintTop), 5);  // the first of repeated keys
  EXPECT_EQ(settings.integer(settings::kPrintZoom), 1);
}

TEST(SettingsTest, ChangesKeepUnknownKeysAndComments) {
  TempDir dir;
  writeFile(dir / "orvalle.ini", "\xEF\xBB\xBF[locate]\nTop=50\n; " + sj("ウィンドウ") +
                                     "\nother=" + sj("値") + "\n[Mine]\nx=1\n");
  Settings settings(dir / "orvalle.ini");
  EXPECT_EQ(settings.integer(settings::kLocateTop), 50);
  settings.setInteger(settings::kLocateLeft, 33);
  std::string bytes = readFile(dir / "orvalle.ini");
  expectPlainIniLines(bytes);
  EXPECT_EQ(bytes.substr(0, 3), "[lo");
  EXPECT_NE(bytes.find("Top=50\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("other=" + sj("値") + "\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("; " + sj("ウィンドウ") + "\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("[Mine]\r\nx=1\r\n"), std::string::npos);
  EXPECT_EQ(settings.integer(settings::kLocateLeft), 33);
  EXPECT_EQ(settings.integer(settings::kLocateTop), 50);
}

TEST(SettingsTest, AFailedWriteLeavesTheOldFile) {
  using store::AtomicWriteFault;
  TempDir dir;
  Settings settings(dir / "orvalle.ini");
  settings.setInteger(settings::kPastRunPeriod, 400);
  std::string before = readFile(dir / "orvalle.ini");
  for (AtomicWriteFault fault : {AtomicWriteFault::kOpen, AtomicWriteFault::kWrite,
                                 AtomicWriteFault::kSync, AtomicWriteFault::kRename}) {
    store::injectAtomicWriteFaultForTesting(fault);
    EXPECT_THROW(settings.setInteger(settings::kPastRunPeriod, 500), Error);
    EXPECT_EQ(readFile(dir / "orvalle.ini"), before);
    EXPECT_EQ(settings.integer(settings::kPastRunPeriod), 400);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SettingsTest, AnUnreadableFileIsAnErrorAndIsNotReplaced) {
  TempDir dir;
  fs::create_directories(dir / "orvalle.ini");  // exists, cannot be read as a file
  Settings settings(dir / "orvalle.ini");
  try {
    (void)settings.integer(settings::kPastRunPeriod);
    ADD_FAILURE() << "the defaults were read";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find((dir / "orvalle.ini").string()), std::string::npos);
  }
  EXPECT_THROW(settings.setInteger(settings::kPastRunPeriod, 400), Error);
  EXPECT_TRUE(fs::is_directory(dir / "orvalle.ini"));
}

TEST(SettingsTest, TextsThatWouldBreakTheLineAreRefused) {
  TempDir dir;
  Settings settings(dir / "orvalle.ini");
  EXPECT_THROW(settings.setText(settings::kJvLinkSource, "a\r\n[locate]\r\ntop=1"), Error);
  EXPECT_THROW(settings.setText(settings::kJvLinkSource, std::string("a\0b", 3)), Error);
  EXPECT_FALSE(fs::exists(dir / "orvalle.ini"));
  Status status = settings.setFromText(settings::kJvLinkSource, "a\nb");
  EXPECT_FALSE(status.ok());
  EXPECT_FALSE(fs::exists(dir / "orvalle.ini"));
}

TEST(SettingsTest, InputIsValidatedAsTheDialogsDo) {
  struct Case {
    SettingKey key;
    std::string input;
    bool accepted;
    std::string stored;  // the value line in the file when accepted
  };
  const Case cases[] = {
      {settings::kPastRunPeriod, "364", false, ""},
      {settings::kPastRunPeriod, "365", true, "period=365"},
      {settings::kPastRunPeriod, "7300", true, "period=7300"},
      {settings::kPastRunPeriod, "7301", false, ""},
      {settings::kPastRunPeriod, "400.5", false, ""},
      {settings::kPastRunPeriod, "", false, ""},
      {settings::kOddsCeiling, "0.9", false, ""},
      {settings::kOddsCeiling, "1", true, "ceil= 1.0"},
      {settings::kOddsCeiling, "5", true, "ceil= 5.0"},
      {settings::kOddsCeiling, "12.3", true, "ceil=12.3"},
      {settings::kOddsCeiling, "20.0", true, "ceil=20.0"},
      {settings::kOddsCeiling, "20.1", false, ""},
      {settings::kOddsCeiling, "1e1", false, ""},
      {settings::kOddsCeiling, "inf", false, ""},
      {settings::kOddsCeiling, " ", false, ""},
      {settings::kIgnorePastRunDates, "1", true, "IgnoDate=1"},
      {settings::kIgnorePastRunDates, "0", true, "IgnoDate=0"},
      {settings::kIgnorePastRunDates, "2", false, ""},
      {settings::kIgnorePastRunDates, "yes", false, ""},
      {settings::kUserSettingId, "3", true, "SetID=3"},
      {settings::kUserSettingId, "x", false, ""},
      {settings::kLocateTop, "-40", true, "top=-40"},
      {settings::kJvLinkSource, "", true, "source="},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Settings settings(dir / "orvalle.ini");
    Status status = settings.setFromText(c.key, c.input);
    EXPECT_EQ(status.ok(), c.accepted) << c.key.key << " '" << c.input << "'";
    std::string bytes = readFile(dir / "orvalle.ini");
    if (c.accepted) {
      EXPECT_NE(bytes.find("\r\n" + c.stored + "\r\n"), std::string::npos) << bytes;
    } else {
      EXPECT_FALSE(status.message().empty());
      EXPECT_EQ(bytes, "") << c.key.key << " '" << c.input << "'";
    }
  }
}

}  // namespace
}  // namespace orvalle::app
