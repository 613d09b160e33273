#include "app/acquire_command.h"

#include <gtest/gtest.h>

#include "store/error.h"
#include "store/text_file.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using test::RaceDay;
using test::TempDir;
using test::writeDataFile;
using test::writeFile;

// Counts what the acquisition reports.
class Recorder : public acquire::AcquisitionObserver {
 public:
  void message(acquire::MessageKind kind, const std::string& text) override {
    messages.push_back((kind == acquire::MessageKind::kError ? "error:" : "info:") + text);
  }
  void listLine(const std::string&) override { ++lines; }
  void lastTimeSaved(const std::string& lastTime) override { saved = lastTime; }
  std::vector<std::string> messages;
  int lines = 0;
  std::string saved;
};

const DateTime kNow{20240301, 12, 34, 56};

TEST(DateTimeTest, ParsesTheLastTimeForm) {
  struct Case {
    const char* text;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      {"2024/01/05 18:30:09", DateTime{20240105, 18, 30, 9}},
      {" 2024/1/5 8:03:00 ", DateTime{20240105, 8, 3, 0}},
      {"2024/02/29", DateTime{20240229, 0, 0, 0}},
      {"2023/02/29 00:00:00", std::nullopt},
      {"2024/01/05 24:00:00", std::nullopt},
      {"2024/01/05 18:60:00", std::nullopt},
      {"2024/01/05 18:30", std::nullopt},
      {"2024/01/05 18:30:09x", std::nullopt},
      {"20240105183009", std::nullopt},
      {"", std::nullopt},
      {"yyyy/mm/dd hh:nn:ss", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseDateTime(c.text), c.expected) << c.text;
  }
  EXPECT_EQ(dateTimeText({20240105, 8, 3, 0}), "2024/01/05 08:03:00");
  EXPECT_EQ(fromTimeOf({20240105, 8, 3, 0}), "20240105080300");
}

TEST(AcquisitionStartTest, WithoutALastTimeSetupStarts731DaysBack) {
  TempDir home;
  Settings settings(home / "orvalle.ini");
  struct Case {
    const char* stored;  // nullptr: no key
    DateTime from;
    bool setup;
  };
  const Case cases[] = {
      {nullptr, {20220301, 12, 34, 56}, true},
      {"", {20220301, 12, 34, 56}, true},
      {"junk", {20220301, 12, 34, 56}, true},
      {"2024/02/24 18:30:00", {20240224, 18, 30, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    if (c.stored) settings.setText(settings::kLastAcquisitionTime, c.stored);
    AcquisitionStart start = acquisitionStart(settings, kNow);
    EXPECT_EQ(start.from, c.from);
    EXPECT_EQ(start.setup, c.setup);
  }
}

class AcquireCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Setup data back to 2022; normal data from 2024.
    writeDataFile(m_source / "SETUP", "20220301120000", "old.txt",
                  RaceDay{.date = "20220226"}.records());
    writeDataFile(m_source / "SETUP", "20220302120000", "setup.txt",
                  RaceDay{.date = "20220301"}.records());
    writeDataFile(m_source / "RACEDIFF", "20240302180000", "diff.txt",
                  RaceDay{.date = "20240302"}.records());
  }
  Settings settings() const { return Settings(m_home / "orvalle.ini"); }

  TempDir m_home;
  TempDir m_source;
  Recorder m_recorder;
};

TEST_F(AcquireCommandTest, AFirstAcquisitionTakesSetupDataAndKeepsTheLastTime) {
  AcquireCommandOptions options;
  options.source = m_source.path().string();
  acquire::AcquisitionResult result =
      runAcquireCommand(Home(m_home.path()), options, m_recorder, kNow);
  ASSERT_EQ(result.outcome, acquire::AcquisitionOutcome::kCompleted)
      << ::testing::PrintToString(m_recorder.messages);
  // Only the setup file later than 2022/03/01 12:34:56 was read.
  EXPECT_EQ(result.counts.readCount, 1);
  EXPECT_TRUE(fs::exists(m_home / "DATA" / "2022年03月01日.jvRA"));
  EXPECT_TRUE(fs::is_directory(m_home / "SEI" / "2006"));
  EXPECT_EQ(settings().text(settings::kLastAcquisitionTime), "2022/03/02 12:00:00");
  EXPECT_EQ(m_recorder.saved, "2022/03/02 12:00:00");

  // The next acquisition goes on from the last time with normal data.
  result = runAcquireCommand(Home(m_home.path()), options, m_recorder, kNow);
  EXPECT_EQ(result.outcome, acquire::AcquisitionOutcome::kCompleted);
  EXPECT_TRUE(fs::exists(m_home / "DATA" / "2024年03月02日.jvRA"));
  EXPECT_EQ(settings().text(settings::kLastAcquisitionTime), "2024/03/02 18:00:00");

  // And then there is nothing new.
  result = runAcquireCommand(Home(m_home.path()), options, m_recorder, kNow);
  EXPECT_EQ(result.outcome, acquire::AcquisitionOutcome::kNoData);
  EXPECT_EQ(m_recorder.messages.back(), "info:最新のデータがありません。");
}

TEST_F(AcquireCommandTest, FromTimeAndSetupOptionAndTheSourceOfTheSettings) {
  Home home(m_home.path());
  home.ensureRoot();
  settings().setText(settings::kLastAcquisitionTime, "2024/03/01 00:00:00");
  settings().setText(settings::kJvLinkSource, m_source.path().string());
  AcquireCommandOptions options;
  options.fromText = "2022/01/01 00:00:00";
  options.setup = true;
  acquire::AcquisitionResult result = runAcquireCommand(home, options, m_recorder, kNow);
  EXPECT_EQ(result.counts.readCount, 2);
  EXPECT_EQ(settings().text(settings::kLastAcquisitionTime), "2022/03/02 12:00:00");

  // A relative source in the settings is taken from the home folder.
  fs::rename(m_source.path(), m_home / "src");
  settings().setText(settings::kJvLinkSource, "src");
  options = {};
  options.fromText = "2024/03/01 00:00:00";
  result = runAcquireCommand(home, options, m_recorder, kNow);
  EXPECT_EQ(result.outcome, acquire::AcquisitionOutcome::kCompleted);
  EXPECT_EQ(result.counts.readCount, 1);
  fs::rename(m_home / "src", m_source.path());
}

TEST_F(AcquireCommandTest, FailuresBeforeTheTransfer) {
  Home home(m_home.path());
  AcquireCommandOptions options;
  try {
    (void)runAcquireCommand(home, options, m_recorder, kNow);
    ADD_FAILURE() << "no source";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("JvLink"), std::string::npos) << error.what();
  }

  options.source = m_source.path().string();
  options.fromText = "2024/13/01 00:00:00";
  EXPECT_THROW((void)runAcquireCommand(home, options, m_recorder, kNow), Error);

  writeFile(m_source / "jvlink.ini", "[emulate]\ninit=-101\n");
  options.fromText.clear();
  try {
    (void)runAcquireCommand(home, options, m_recorder, kNow);
    ADD_FAILURE() << "JVInit failed";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "JVInitエラーが発生しました。：-101");
  }
  EXPECT_FALSE(fs::exists(m_home / "DATA" / "2022年03月01日.jvRA"));
}

TEST_F(AcquireCommandTest, FetchResultsStoresTheDaysResults) {
  Home home(m_home.path());
  writeFile(m_source / "0B12" / "20240302.txt",
            RaceDay{.date = "20240302"}.hrRecord(1) + RaceDay{.date = "20240302"}.raRecord(1));
  acquire::ResultsFetchObserver observer;
  acquire::ResultsFetchResult result =
      runFetchResultsCommand(home, "2024年03月02日", m_source.path().string(), observer);
  // The HR file is created; the RA record has no day file to go to.
  EXPECT_EQ(result.storedRecords, 1);
  EXPECT_TRUE(fs::exists(m_home / "DATA" / "2024年03月02日.jvHR"));
  EXPECT_FALSE(fs::exists(m_home / "DATA" / "2024年03月02日.jvRA"));
  EXPECT_EQ(runFetchResultsCommand(home, "20240303", m_source.path().string(), observer).openCode,
            -1);
  EXPECT_THROW((void)runFetchResultsCommand(home, "2024-03-02", m_source.path().string(), observer),
               Error);
}

}  // namespace
}  // namespace orvalle::app
