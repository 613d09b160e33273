// CSV output of `card`, `analyze`, `results` and `backtest`: RFC 4180 records
// read back by a parser written here, a horse name with commas and quotes
// that survives the round trip, and the CP932 encoding.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cli_test_support.h"
#include "csv_output.h"
#include "sim/simulator.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/fixed_width.h"
#include "store/record.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

using Records = std::vector<std::vector<std::string>>;

// An RFC 4180 reader: records end with CR LF, a field in double quotes may
// hold commas, CR, LF and doubled quotes. Fails the test on a record that
// ends without CR LF, a bare CR or LF, or a quote inside an unquoted field.
Records parseCsv(std::string_view text) {
  Records records;
  std::vector<std::string> record;
  std::string field;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) {
          ADD_FAILURE() << "unterminated quoted field";
          return records;
        }
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        field += text[i];
      }
    } else {
      while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
        if (text[i] == '"') ADD_FAILURE() << "quote inside an unquoted field at " << i;
        field += text[i++];
      }
    }
    record.push_back(std::move(field));
    field.clear();
    if (i < text.size() && text[i] == ',') {
      ++i;
      continue;
    }
    if (text.substr(i, 2) != "\r\n") {
      ADD_FAILURE() << "record not ended by CR LF at " << i;
      return records;
    }
    i += 2;
    records.push_back(std::move(record));
    record.clear();
  }
  return records;
}

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
  struct Case {
    std::string_view text;
    std::string_view field;
  };
  const Case cases[] = {
      {"", ""},
      {"ガーデン 1", "ガーデン 1"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"line\nbreak", "\"line\nbreak\""},
      {"cr\r", "\"cr\r\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(csvField(c.text), c.field) << c.text;
    EXPECT_EQ(parseCsv(csvField(c.text) + "\r\n"), Records{{std::string(c.text)}}) << c.text;
  }
}

class CsvCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({*s_dir / "source", 3, 8});
    const fs::path data = home() / "DATA";
    (void)test::buildHomeFromReplaySource(*s_dir / "source", data, home() / "SEI");
    s_day = store::listDays(data).back();

    // The first runner of the first race gets a name with commas and
    // quotes, in its SE day file slot.
    const std::string ra = test::readFile(data / (s_day + ".jvRA"));
    const auto file = store::seDayFilePath(data, s_day, store::head::kRacecourseCode.in(ra));
    ASSERT_TRUE(file.has_value());
    std::string se = test::readFile(*file);
    const size_t slot = (static_cast<size_t>(store::head::kRaceNumber.numberIn(ra)) - 1) * 18 *
                        store::kSeRecordLength;
    const std::string name = store::fitWidth(sj(kName), 36);
    se.replace(slot + static_cast<size_t>(store::se::kHorseName.position) - 1, name.size(), name);
    test::writeFile(*file, se);
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static fs::path home() { return *s_dir / "home"; }
  static CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home().string()});
    return runCliForTest(args);
  }

  static constexpr std::string_view kName = "ア,\"イ\",ウ";
  static std::unique_ptr<test::TempDir> s_dir;
  static std::string s_day;
};
std::unique_ptr<test::TempDir> CsvCommandTest::s_dir;
std::string CsvCommandTest::s_day;

// The records of a CSV output, every one as wide as the header.
Records recordsOf(const CliRun& run) {
  EXPECT_EQ(run.status, kExitSuccess) << run.err;
  Records records = parseCsv(run.out);
  EXPECT_GT(records.size(), 1u);
  for (const auto& record : records) EXPECT_EQ(record.size(), records.front().size());
  return records;
}

TEST_F(CsvCommandTest, AnalyzeHasOneRowPerRunnerWithTheRaceCard) {
  const Records records = recordsOf(run({"analyze", s_day, "--csv"}));
  ASSERT_EQ(records.front().size(), 30u);
  EXPECT_EQ(records.front()[0], "日付");
  EXPECT_EQ(records.front()[5], "馬名");

  // As many rows as the JSON has horses, in its order.
  const CliRun json = run({"analyze", s_day, "--json"});
  size_t horses = 0;
  for (size_t at = json.out.find("\"regno\""); at != std::string::npos;
       at = json.out.find("\"regno\"", at + 1)) {
    ++horses;
  }
  EXPECT_EQ(records.size() - 1, horses);

  const std::vector<std::string>& first = records[1];
  EXPECT_EQ(first[0], s_day.substr(0, 4) + "-" + s_day.substr(7, 2) + "-" + s_day.substr(12, 2));
  EXPECT_EQ(first[2], "1");
  EXPECT_EQ(first[4], "1");                 // horse number, without its padding
  EXPECT_EQ(first[5], std::string(kName));  // the name round-trips
  EXPECT_FALSE(first[1].empty());           // the racecourse
}

TEST_F(CsvCommandTest, CardAndResultsCarryTheSameCells) {
  const Records card = recordsOf(run({"card", s_day, "1", "--csv"}));
  ASSERT_EQ(card.front().size(), 27u);
  EXPECT_EQ(card[1][2], std::string(kName));

  const Records analyzed = recordsOf(run({"analyze", s_day, "--csv"}));
  for (size_t row = 1; row < card.size(); ++row) {
    EXPECT_EQ(std::vector<std::string>(analyzed[row].begin() + 3, analyzed[row].end()), card[row]);
  }
  const Records results =
      recordsOf(run({"results", s_day, "--source", (*s_dir / "source").string(), "--csv"}));
  EXPECT_EQ(results.size(), analyzed.size());
  EXPECT_EQ(results[1][5], std::string(kName));
}

TEST_F(CsvCommandTest, Cp932EncodingHoldsTheSameText) {
  const CliRun utf8 = run({"card", s_day, "1", "--csv"});
  const CliRun cp932 = run({"card", s_day, "1", "--csv", "--encoding", "cp932"});
  ASSERT_EQ(cp932.status, kExitSuccess) << cp932.err;
  EXPECT_NE(cp932.out, utf8.out);
  EXPECT_TRUE(cp932::isValid(cp932.out));
  EXPECT_EQ(cp932::toUtf8(cp932.out), utf8.out);

  EXPECT_EQ(run({"card", s_day, "1", "--encoding", "cp932"}).status, kExitUsage);
  EXPECT_EQ(run({"card", s_day, "1", "--csv", "--encoding", "latin1"}).status, kExitUsage);
  EXPECT_EQ(run({"analyze", s_day, "--csv", "--json"}).status, kExitUsage);
}

TEST_F(CsvCommandTest, BacktestPrintsTheCsvItWritesToAFile) {
  const fs::path file = *s_dir / "backtest.csv";
  const CliRun toFile = run({"backtest", "--csv", file.string()});
  ASSERT_EQ(toFile.status, kExitSuccess) << toFile.err;
  EXPECT_NE(toFile.out.find("設定: "), std::string::npos);  // the table as before

  const CliRun printed = run({"backtest", "--csv"});
  const Records records = recordsOf(printed);
  EXPECT_EQ(printed.out, test::readFile(file));
  EXPECT_EQ(records.front().front(), "date");
}

}  // namespace
}  // namespace orvalle::cli
