// `export --sqlite` on a home built from a simulated source: the rows against
// the day files read here line by line, the payouts against what `results`
// reports, a repeated export, and an export killed inside a day's
// transaction.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "app/sqlite_export.h"
#include "cli_test_support.h"
#include "sim/simulator.h"
#include "store/cp932.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

// A database opened for the checks, closed at the end of the scope.
class Db {
 public:
  explicit Db(const fs::path& path) {
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  }
  ~Db() { sqlite3_close_v2(m_db); }

  // The rows of a query, each column as text ("" for NULL).
  std::vector<std::vector<std::string>> rows(const std::string& sql,
                                             const std::vector<std::string>& parameters = {}) {
    sqlite3_stmt* statement = nullptr;
    std::vector<std::vector<std::string>> out;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(m_db);
      return out;
    }
    for (size_t i = 0; i < parameters.size(); ++i) {
      sqlite3_bind_text(statement, static_cast<int>(i + 1), parameters[i].c_str(), -1,
                        SQLITE_TRANSIENT);
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const auto* text = sqlite3_column_text(statement, c);
        row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
      }
      out.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return out;
  }
  long long count(const std::string& sql, const std::vector<std::string>& parameters = {}) {
    auto result = rows(sql, parameters);
    return result.empty() ? -1 : std::stoll(result.front().front());
  }

 private:
  sqlite3* m_db = nullptr;
};

// The lines of a day file that start with `kind`.
std::vector<std::string> linesOf(const fs::path& file, std::string_view kind) {
  std::vector<std::string> lines;
  std::istringstream in(test::readFile(file));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(kind, 0) == 0) lines.push_back(line);
  }
  return lines;
}

// What the day files of a day hold, counted here: RA and HR lines, and SE
// lines with a horse number in every SE day file of the day.
struct DayCounts {
  long long races = 0, runners = 0, payouts = 0;
  bool operator==(const DayCounts&) const = default;
};

DayCounts countsInFiles(const fs::path& data, const std::string& stem) {
  DayCounts counts;
  counts.races = static_cast<long long>(linesOf(data / (stem + ".jvRA"), "RA").size());
  counts.payouts = static_cast<long long>(linesOf(data / (stem + ".jvHR"), "HR").size());
  for (const auto& entry : fs::directory_iterator(data)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(stem, 0) != 0 || entry.path().extension() != ".jvSEr") continue;
    for (const std::string& line : linesOf(entry.path(), "SE")) {
      if (std::stoi(line.substr(28, 2)) > 0) ++counts.runners;
    }
  }
  return counts;
}

DayCounts countsInDb(Db& db, const std::string& isoDay) {
  return {db.count("SELECT count(*) FROM races WHERE day = ?", {isoDay}),
          db.count("SELECT count(*) FROM runners WHERE day = ?", {isoDay}),
          db.count("SELECT count(*) FROM payouts WHERE day = ?", {isoDay})};
}

std::string isoOf(const std::string& stem) {
  // "2024年01月06日": four digits, "年" (3 bytes), two, "月", two.
  return stem.substr(0, 4) + "-" + stem.substr(7, 2) + "-" + stem.substr(12, 2);
}

class ExportCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({source(), 10, 5});
    (void)test::buildHomeFromReplaySource(source(), home() / "DATA", home() / "SEI");
    for (const auto& entry : fs::directory_iterator(home() / "DATA")) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".jvRA") s_days.push_back(name.substr(0, name.find('.')));
    }
    std::sort(s_days.begin(), s_days.end());
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static fs::path source() { return *s_dir / "source"; }
  static fs::path home() { return *s_dir / "home"; }
  static CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home().string()});
    return runCliForTest(args);
  }
  static DayCounts totals(Db& db) {
    return {db.count("SELECT count(*) FROM races"), db.count("SELECT count(*) FROM runners"),
            db.count("SELECT count(*) FROM payouts")};
  }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::vector<std::string> s_days;  // ascending
};
std::unique_ptr<test::TempDir> ExportCommandTest::s_dir;
std::vector<std::string> ExportCommandTest::s_days;

TEST_F(ExportCommandTest, RowsAreTheRecordsOfTheDayFiles) {
  const fs::path file = *s_dir / "rows.sqlite";
  CliRun exported = run({"export", "--sqlite", file.string()});
  ASSERT_EQ(exported.status, kExitSuccess) << exported.err;
  EXPECT_TRUE(exported.err.empty()) << "no progress without a terminal: " << exported.err;

  Db db(file);
  ASSERT_EQ(db.count("SELECT count(*) FROM days"), static_cast<long long>(s_days.size()));
  DayCounts all;
  for (const std::string& day : s_days) {
    SCOPED_TRACE(day);
    const DayCounts inFiles = countsInFiles(home() / "DATA", day);
    EXPECT_GT(inFiles.races, 0);
    EXPECT_EQ(countsInDb(db, isoOf(day)), inFiles);
    all.races += inFiles.races;
    all.runners += inFiles.runners;
    all.payouts += inFiles.payouts;
  }
  EXPECT_EQ(totals(db), all);

  // The raw record is the stored line; the decoded columns are its fields.
  const std::string day = s_days.front();
  const std::vector<std::string> raLines = linesOf(home() / "DATA" / (day + ".jvRA"), "RA");
  std::string raLine = raLines.front();
  if (!raLine.empty() && raLine.back() == '\r') raLine.pop_back();
  const auto race = db.rows(
      "SELECT raw, race_date, racecourse, race_number, distance FROM races WHERE race_key = ?",
      {raLine.substr(11, 16)});
  ASSERT_EQ(race.size(), 1u);
  EXPECT_EQ(race[0][0], raLine);
  EXPECT_EQ(race[0][1], isoOf(day));
  EXPECT_EQ(race[0][3], std::to_string(std::stoi(raLine.substr(25, 2))));
  EXPECT_EQ(race[0][4], std::to_string(std::stoi(raLine.substr(697, 4))));
  EXPECT_TRUE(cp932::isValidUtf8(race[0][2]));
  EXPECT_FALSE(race[0][2].empty());

  // Runners: a name in UTF-8, odds and times as numbers.
  const auto runner = db.rows(
      "SELECT horse_name, typeof(win_odds), typeof(race_time), race_time FROM runners "
      "WHERE day = ? AND finishing_position = 1 LIMIT 1",
      {isoOf(day)});
  ASSERT_EQ(runner.size(), 1u);
  EXPECT_TRUE(cp932::isValidUtf8(runner[0][0]));
  EXPECT_FALSE(runner[0][0].empty());
  EXPECT_EQ(runner[0][1], "real");
  EXPECT_EQ(runner[0][2], "real");
  EXPECT_GT(std::stod(runner[0][3]), 50.0);  // no race is run in under a minute
}

TEST_F(ExportCommandTest, JoinedPayoutsAreThoseResultsReports) {
  // `results` analyses the day (which makes it processed) and scores it.
  const std::string day = s_days.back();
  CliRun results = run({"results", day, "--source", source().string(), "--json"});
  ASSERT_EQ(results.status, kExitSuccess) << results.err;
  const nlohmann::json json = nlohmann::json::parse(results.out);

  const fs::path file = *s_dir / "join.sqlite";
  CliRun exported = run({"export", "--sqlite", file.string(), "--from", day, "--to", day});
  ASSERT_EQ(exported.status, kExitSuccess) << exported.err;
  Db db(file);
  ASSERT_EQ(db.count("SELECT compared FROM days"), 1);

  // Every combination results reports: its payout through races, runners
  // and payouts; the runners' finishing positions say which ones hit.
  int hits = 0;
  for (const auto& race : json["races"]) {
    const std::string key = race["key"];
    for (const char* betType : {"quinella", "exacta", "trio"}) {
      for (const auto& combination : race[betType]) {
        std::string text = combination["text"];
        std::erase(text, ' ');
        SCOPED_TRACE(key + " " + betType + " " + text);
        const auto paid = db.rows(
            "SELECT e.payout FROM races r "
            "JOIN payout_entries e ON e.race_key = r.race_key AND e.bet_type = ? "
            "JOIN runners a ON a.race_key = r.race_key AND a.horse_number = e.first "
            "JOIN runners b ON b.race_key = r.race_key AND b.horse_number = e.second "
            "WHERE r.race_key = ? AND e.combination = ?",
            {betType, key, text});
        if (combination["hit"]) {
          ++hits;
          ASSERT_EQ(paid.size(), 1u);
          EXPECT_EQ(std::stoi(paid[0][0]), combination["payout"].get<int>());
        } else {
          EXPECT_TRUE(paid.empty());
        }
      }
    }
  }
  EXPECT_GT(hits, 0);

  // The exported combinations score as results scored them.
  for (const char* betType : {"quinella", "exacta", "trio"}) {
    long long expected = 0;
    for (const auto& race : json["races"]) {
      for (const auto& combination : race[betType]) expected += combination["payout"].get<int>();
    }
    EXPECT_EQ(
        db.count("SELECT total(c.payout) FROM combinations c WHERE c.bet_type = ?", {betType}),
        expected)
        << betType;
    EXPECT_EQ(db.count("SELECT total(e.payout) FROM combinations c JOIN payout_entries e "
                       "ON e.race_key = c.race_key AND e.bet_type = c.bet_type "
                       "AND e.combination = c.combination WHERE c.bet_type = ?",
                       {betType}),
              expected)
        << betType;
  }
  const long long horses = db.count("SELECT count(*) FROM runner_figures");
  EXPECT_EQ(horses, db.count("SELECT count(*) FROM runners r JOIN races USING (race_key) "
                             "WHERE r.horse_number <= races.registered_runners"));
}

TEST_F(ExportCommandTest, ExportingAgainChangesNoRowCount) {
  const fs::path file = *s_dir / "again.sqlite";
  ASSERT_EQ(run({"export", "--sqlite", file.string()}).status, kExitSuccess);
  DayCounts first;
  {
    Db db(file);
    first = totals(db);
  }
  CliRun overlapping =
      run({"export", "--sqlite", file.string(), "--from", s_days[1], "--to", s_days[3]});
  ASSERT_EQ(overlapping.status, kExitSuccess) << overlapping.err;
  Db db(file);
  EXPECT_EQ(totals(db), first);
  EXPECT_EQ(db.count("SELECT count(*) FROM days"), static_cast<long long>(s_days.size()));
}

TEST_F(ExportCommandTest, AFileOfAnotherKindIsNotOverwritten) {
  const fs::path file = *s_dir / "text.sqlite";
  test::writeFile(file, "not a database, just text that is long enough to have a header\n");
  CliRun exported = run({"export", "--sqlite", file.string()});
  EXPECT_EQ(exported.status, kExitFailure);
  EXPECT_NE(exported.err.find(file.string()), std::string::npos) << exported.err;
  EXPECT_EQ(test::readFile(file),
            "not a database, just text that is long enough to have a header\n");
}

TEST_F(ExportCommandTest, AKilledExportLeavesWholeDays) {
  const fs::path file = *s_dir / "killed.sqlite";
  int signal[2];
  ASSERT_EQ(::pipe(signal), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Stops inside the third day's transaction, its rows written, until
    // killed.
    app::SqliteExportRequest request;
    request.database = file;
    int written = 0;
    request.beforeCommit = [&](const std::string&) {
      if (++written < 3) return;
      (void)!::write(signal[1], "x", 1);
      for (;;) ::pause();
    };
    app::SqliteExportReport report;
    (void)app::exportToSqlite(app::Home(home()), request, report);
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(signal[0], &byte, 1), 1);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(signal[0]);
  ::close(signal[1]);
  ASSERT_TRUE(WIFSIGNALED(status));

  {
    Db db(file);
    EXPECT_EQ(db.rows("PRAGMA integrity_check"), (std::vector<std::vector<std::string>>{{"ok"}}));
    const auto days = db.rows("SELECT day FROM days ORDER BY day");
    ASSERT_EQ(days.size(), 2u);
    for (size_t i = 0; i < days.size(); ++i) {
      EXPECT_EQ(days[i][0], isoOf(s_days[i]));
      EXPECT_EQ(countsInDb(db, days[i][0]), countsInFiles(home() / "DATA", s_days[i]));
    }
    EXPECT_EQ(db.count("SELECT count(*) FROM races WHERE day NOT IN (SELECT day FROM days)"), 0);
    EXPECT_EQ(db.count("SELECT count(*) FROM runners WHERE day NOT IN (SELECT day FROM days)"), 0);
  }
  // The next export completes it.
  ASSERT_EQ(run({"export", "--sqlite", file.string()}).status, kExitSuccess);
  Db db(file);
  EXPECT_EQ(db.count("SELECT count(*) FROM days"), static_cast<long long>(s_days.size()));
}

}  // namespace
}  // namespace orvalle::cli
