#include "app/sqlite_export.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string_view>
#include <variant>

#include "app/day_report.h"
#include "app/day_session.h"
#include "app/payout_report.h"
#include "app/race_header_report.h"
#include "output/processed_days.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/day_file_lines.h"
#include "store/day_file_names.h"
#include "store/error.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/payout_block.h"
#include "store/record.h"
#include "store/se_day_files.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
namespace head = store::head;
namespace codes = store::codes;
using store::Field;

// A column value: NULL, an integer, a real or UTF-8 text.
using Value = std::variant<std::monostate, int64_t, double, std::string>;

// ---------------------------------------------------------------------------
// The database.

class Database {
 public:
  explicit Database(const fs::path& path) : m_path(path) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    m_db = db;
    if (rc != SQLITE_OK) fail("開けません");
    sqlite3_extended_result_codes(m_db, 1);
  }
  ~Database() { sqlite3_close_v2(m_db); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(const std::string& sql) {
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail("書けません");
  }

  // The first column of the first row of a query, as an integer.
  int64_t integer(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) fail("読めません");
    int64_t value = 0;
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) fail("読めません");
    return value;
  }

  sqlite3* handle() { return m_db; }

  [[noreturn]] void fail(std::string_view what) const {
    const char* message = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
    throw Error("SQLiteデータベースに" + std::string(what) + ": " + m_path.string() + ": " +
                message);
  }

 private:
  fs::path m_path;
  sqlite3* m_db = nullptr;
};

// A prepared INSERT or DELETE, run once per row.
class Statement {
 public:
  Statement(Database& db, const std::string& sql) : m_db(db) {
    if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &m_statement, nullptr) != SQLITE_OK) {
      db.fail("書けません");
    }
  }
  ~Statement() { sqlite3_finalize(m_statement); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds `values` to the parameters in order, then `raw` as a BLOB after
  // them when given, and runs the statement.
  void run(std::span<const Value> values, std::optional<std::string_view> raw = std::nullopt) {
    sqlite3_reset(m_statement);
    int index = 1;
    for (const Value& value : values) bind(index++, value);
    if (raw) {
      check(sqlite3_bind_blob64(m_statement, index, raw->data(), raw->size(), SQLITE_STATIC));
    }
    if (sqlite3_step(m_statement) != SQLITE_DONE) m_db.fail("書けません");
  }

 private:
  void bind(int index, const Value& value) {
    if (const auto* number = std::get_if<int64_t>(&value)) {
      check(sqlite3_bind_int64(m_statement, index, *number));
    } else if (const auto* real = std::get_if<double>(&value)) {
      check(sqlite3_bind_double(m_statement, index, *real));
    } else if (const auto* text = std::get_if<std::string>(&value)) {
      check(sqlite3_bind_text64(m_statement, index, text->data(), text->size(), SQLITE_STATIC,
                                SQLITE_UTF8));
    } else {
      check(sqlite3_bind_null(m_statement, index));
    }
  }
  void check(int rc) {
    if (rc != SQLITE_OK) m_db.fail("書けません");
  }

  Database& m_db;
  sqlite3_stmt* m_statement = nullptr;
};

// ---------------------------------------------------------------------------
// Decoding record fields.

// CP932 text as UTF-8, trimmed; NULL when nothing is left.
Value text(std::string_view cp932Text) {
  std::string decoded = decodedText(cp932Text);
  if (decoded.empty()) return {};
  return decoded;
}

// A code as it stands in the record, trimmed; NULL when blank.
Value code(std::string_view record, Field field) { return text(field.in(record)); }

int64_t number(std::string_view record, Field field) { return field.numberIn(record); }

// A number that is NULL when 0 or less (no finishing position, no odds).
Value positive(std::string_view record, Field field) {
  const int value = field.numberIn(record);
  return value > 0 ? Value(int64_t{value}) : Value();
}

// A number in tenths as a real; NULL when 0 or less.
Value tenths(std::string_view record, Field field) {
  const int value = field.numberIn(record);
  return value > 0 ? Value(value / 10.0) : Value();
}

// The race date of a record "yyyy-mm-dd"; NULL when it is not a date.
Value raceDate(std::string_view record) {
  const int date = store::raceDate(record);
  return date > 0 ? Value(isoDate(date)) : Value();
}

// A race time "mss.s" in seconds; NULL when blank or 0.
Value raceTime(std::string_view record) {
  const int value = store::se::kRaceTime.numberIn(record);
  if (value <= 0) return {};
  return (value / 1000) * 60 + (value % 1000) / 10.0;
}

// The start time "hhmm" as "hh:mm"; NULL when blank.
Value startTime(std::string_view race) {
  std::string_view hhmm = store::ra::kStartTime.in(race);
  if (store::isBlank(hhmm) || store::toInt(hhmm) == 0) return {};
  return std::string(hhmm.substr(0, 2)) + ":" + std::string(hhmm.substr(2));
}

// The weight change in kilograms with its sign; NULL when blank.
Value weightChange(std::string_view runner) {
  std::string_view change = store::se::kWeightChange.in(runner);
  if (store::isBlank(change)) return {};
  const int value = store::toInt(change);
  return int64_t{store::se::kWeightChangeSign.in(runner) == "-" ? -value : value};
}

// A column of a record table: its name, SQL type and value.
struct Column {
  const char* name;
  const char* type;
  Value (*value)(std::string_view record);
};

// The race key and the date, common to the tables of RA, SE and HR.
constexpr Column kKeyColumn{"race_key", "TEXT NOT NULL",
                            [](std::string_view r) { return code(r, head::kRaceKey); }};
constexpr Column kDateColumn{"race_date", "TEXT", raceDate};
constexpr Column kDataKindColumn{"data_kind", "TEXT",
                                 [](std::string_view r) { return code(r, head::kDataKind); }};
constexpr Column kRacecourseCodeColumn{
    "racecourse_code", "TEXT", [](std::string_view r) { return code(r, head::kRacecourseCode); }};
constexpr Column kRacecourseColumn{
    "racecourse", "TEXT",
    [](std::string_view r) { return text(codes::racecourseName(head::kRacecourseCode.in(r), 2)); }};
constexpr Column kRaceNumberColumn{"race_number", "INTEGER", [](std::string_view r) {
                                     return Value(number(r, head::kRaceNumber));
                                   }};

namespace ra = store::ra;
const Column kRaceColumns[] = {
    kKeyColumn,
    kDateColumn,
    kDataKindColumn,
    kRacecourseCodeColumn,
    kRacecourseColumn,
    {"meeting", "INTEGER", [](std::string_view r) { return Value(number(r, head::kMeeting)); }},
    {"day_of_meeting", "INTEGER",
     [](std::string_view r) { return Value(number(r, head::kDayOfMeeting)); }},
    kRaceNumberColumn,
    {"weekday_code", "TEXT", [](std::string_view r) { return code(r, ra::kWeekdayCode); }},
    {"weekday", "TEXT",
     [](std::string_view r) { return text(codes::weekdayName(ra::kWeekdayCode.in(r), 3)); }},
    {"race_name", "TEXT", [](std::string_view r) { return text(ra::kRaceName.in(r)); }},
    {"short_race_name", "TEXT",
     [](std::string_view r) { return text(ra::kSixCharacterRaceName.in(r)); }},
    {"graded_running", "INTEGER",
     [](std::string_view r) { return positive(r, ra::kGradedRaceRunning); }},
    {"grade_code", "TEXT", [](std::string_view r) { return code(r, ra::kGradeCode); }},
    {"grade", "TEXT",
     [](std::string_view r) { return text(codes::gradeName(ra::kGradeCode.in(r), 2)); }},
    {"race_type_code", "TEXT", [](std::string_view r) { return code(r, ra::kRaceTypeCode); }},
    {"race_type", "TEXT",
     [](std::string_view r) { return text(codes::raceTypeName(ra::kRaceTypeCode.in(r), 8)); }},
    {"race_symbol_code", "TEXT", [](std::string_view r) { return code(r, ra::kRaceSymbolCode); }},
    {"race_symbols", "TEXT",
     [](std::string_view r) { return text(codes::raceSymbolName(ra::kRaceSymbolCode.in(r))); }},
    {"weight_type_code", "TEXT", [](std::string_view r) { return code(r, ra::kWeightTypeCode); }},
    {"weight_type", "TEXT",
     [](std::string_view r) { return text(codes::weightTypeName(ra::kWeightTypeCode.in(r))); }},
    {"condition_code", "INTEGER",
     [](std::string_view r) { return positive(r, ra::kConditionCodeYoungest); }},
    {"condition", "TEXT",
     [](std::string_view r) {
       return text(codes::conditionName(ra::kConditionCodeYoungest.in(r)));
     }},
    {"distance", "INTEGER", [](std::string_view r) { return positive(r, ra::kDistance); }},
    {"track_code", "TEXT", [](std::string_view r) { return code(r, ra::kTrackCode); }},
    {"track", "TEXT",
     [](std::string_view r) { return text(codes::trackName(ra::kTrackCode.in(r))); }},
    {"first_prize", "INTEGER",
     [](std::string_view r) { return Value(number(r, ra::prizeMoney(1))); }},
    {"start_time", "TEXT", startTime},
    {"registered_runners", "INTEGER",
     [](std::string_view r) { return Value(number(r, ra::kRegisteredRunners)); }},
    {"starters", "INTEGER", [](std::string_view r) { return Value(number(r, ra::kStarters)); }},
    {"finishers", "INTEGER", [](std::string_view r) { return Value(number(r, ra::kFinishers)); }},
    {"weather_code", "TEXT", [](std::string_view r) { return code(r, ra::kWeatherCode); }},
    {"weather", "TEXT",
     [](std::string_view r) { return text(codes::weatherName(ra::kWeatherCode.in(r))); }},
    {"turf_going_code", "TEXT", [](std::string_view r) { return code(r, ra::kTurfGoingCode); }},
    {"turf_going", "TEXT",
     [](std::string_view r) { return text(codes::goingName(ra::kTurfGoingCode.in(r), 0)); }},
    {"dirt_going_code", "TEXT", [](std::string_view r) { return code(r, ra::kDirtGoingCode); }},
    {"dirt_going", "TEXT",
     [](std::string_view r) { return text(codes::goingName(ra::kDirtGoingCode.in(r), 0)); }},
};

namespace se = store::se;
const Column kRunnerColumns[] = {
    kKeyColumn,
    {"horse_number", "INTEGER NOT NULL",
     [](std::string_view r) { return Value(number(r, se::kHorseNumber)); }},
    kDateColumn,
    kDataKindColumn,
    kRacecourseCodeColumn,
    kRacecourseColumn,
    kRaceNumberColumn,
    {"bracket", "INTEGER", [](std::string_view r) { return positive(r, se::kBracket); }},
    {"registration_number", "TEXT",
     [](std::string_view r) { return code(r, se::kRegistrationNumber); }},
    {"horse_name", "TEXT", [](std::string_view r) { return text(se::kHorseName.in(r)); }},
    {"sex_code", "TEXT", [](std::string_view r) { return code(r, se::kSexCode); }},
    {"sex", "TEXT", [](std::string_view r) { return text(codes::sexName(se::kSexCode.in(r))); }},
    {"age", "INTEGER", [](std::string_view r) { return positive(r, se::kAge); }},
    {"trainer", "TEXT", [](std::string_view r) { return text(se::kTrainerShortName.in(r)); }},
    {"jockey", "TEXT", [](std::string_view r) { return text(se::kJockeyShortName.in(r)); }},
    {"weight_carried", "REAL", [](std::string_view r) { return tenths(r, se::kWeightCarried); }},
    {"blinkers", "INTEGER",
     [](std::string_view r) { return Value(int64_t{se::kBlinkers.in(r) == "1" ? 1 : 0}); }},
    {"apprentice_code", "TEXT", [](std::string_view r) { return code(r, se::kApprenticeCode); }},
    {"apprentice", "TEXT",
     [](std::string_view r) { return text(codes::apprenticeName(se::kApprenticeCode.in(r))); }},
    {"horse_weight", "INTEGER", [](std::string_view r) { return positive(r, se::kHorseWeight); }},
    {"weight_change", "INTEGER", weightChange},
    {"abnormality_code", "TEXT", [](std::string_view r) { return code(r, se::kAbnormalityCode); }},
    {"arrival_order", "INTEGER", [](std::string_view r) { return positive(r, se::kArrivalOrder); }},
    {"finishing_position", "INTEGER",
     [](std::string_view r) { return positive(r, se::kFinishingPosition); }},
    {"race_time", "REAL", raceTime},
    {"corner_1", "INTEGER", [](std::string_view r) { return positive(r, se::kCorner1Position); }},
    {"corner_2", "INTEGER", [](std::string_view r) { return positive(r, se::kCorner2Position); }},
    {"corner_3", "INTEGER", [](std::string_view r) { return positive(r, se::kCorner3Position); }},
    {"corner_4", "INTEGER", [](std::string_view r) { return positive(r, se::kCorner4Position); }},
    {"win_odds", "REAL", [](std::string_view r) { return tenths(r, se::kWinOdds); }},
    {"popularity", "INTEGER", [](std::string_view r) { return positive(r, se::kPopularityRank); }},
    {"prize_money", "INTEGER",
     [](std::string_view r) { return Value(number(r, se::kPrizeMoney)); }},
    {"added_prize_money", "INTEGER",
     [](std::string_view r) { return Value(number(r, se::kAddedPrizeMoney)); }},
    {"last_4_furlongs", "REAL", [](std::string_view r) { return tenths(r, se::kLast4Furlongs); }},
    {"last_3_furlongs", "REAL", [](std::string_view r) { return tenths(r, se::kLast3Furlongs); }},
};

const Column kPayoutColumns[] = {
    kKeyColumn,        kDateColumn,       kDataKindColumn, kRacecourseCodeColumn,
    kRacecourseColumn, kRaceNumberColumn,
};

// ---------------------------------------------------------------------------
// The schema.

// A table: name, columns (the day first; the record columns; the raw record
// last when `raw`) and primary key.
struct Table {
  const char* name;
  std::span<const Column> recordColumns;
  std::vector<std::pair<const char*, const char*>> otherColumns;  // name, type
  const char* primaryKey;
  bool raw;
};

const std::vector<Table>& tables() {
  static const std::vector<Table> kTables = {
      {"days",
       {},
       {{"day", "TEXT NOT NULL"},
        {"stem", "TEXT NOT NULL"},
        {"races", "INTEGER NOT NULL"},
        {"runners", "INTEGER NOT NULL"},
        {"payouts", "INTEGER NOT NULL"},
        {"compared", "INTEGER NOT NULL"},
        {"exported_at", "TEXT NOT NULL"}},
       "day",
       false},
      {"races", kRaceColumns, {}, "race_key", true},
      {"runners", kRunnerColumns, {}, "race_key, horse_number", true},
      {"payouts", kPayoutColumns, {}, "race_key", true},
      {"payout_entries",
       {},
       {{"race_key", "TEXT NOT NULL"},
        {"bet_type", "TEXT NOT NULL"},
        {"entry", "INTEGER NOT NULL"},
        {"bet_type_name", "TEXT NOT NULL"},
        {"first", "INTEGER"},
        {"second", "INTEGER"},
        {"third", "INTEGER"},
        {"combination", "TEXT NOT NULL"},
        {"payout", "INTEGER NOT NULL"},
        {"popularity", "INTEGER"}},
       "race_key, bet_type, entry",
       false},
      {"runner_figures",
       {},
       {{"race_key", "TEXT NOT NULL"},
        {"horse_number", "INTEGER NOT NULL"},
        {"wins", "INTEGER NOT NULL"},
        {"losses", "INTEGER NOT NULL"},
        {"win_rate", "REAL"},
        {"win_rate_rank", "INTEGER"},
        {"win_points", "INTEGER NOT NULL"},
        {"loss_points", "INTEGER NOT NULL"},
        {"point_win_rate", "REAL"},
        {"point_win_rate_rank", "INTEGER"},
        {"win_count_rank", "INTEGER"},
        {"win_count_reverse_rank", "INTEGER"},
        {"win_points_reverse_rank", "INTEGER"},
        {"predicted_odds", "REAL"},
        {"predicted_odds_rank", "INTEGER"},
        {"expected_wins", "INTEGER NOT NULL"},
        {"upsets", "INTEGER NOT NULL"},
        {"upset_rate", "REAL"},
        {"earnings", "INTEGER NOT NULL"}},
       "race_key, horse_number",
       false},
      {"combinations",
       {},
       {{"race_key", "TEXT NOT NULL"},
        {"bet_type", "TEXT NOT NULL"},
        {"seq", "INTEGER NOT NULL"},
        {"first", "INTEGER"},
        {"second", "INTEGER"},
        {"third", "INTEGER"},
        {"combination", "TEXT NOT NULL"},
        {"hit", "INTEGER NOT NULL"},
        {"payout", "INTEGER NOT NULL"},
        {"place_hit", "INTEGER"},
        {"place_payout", "INTEGER"}},
       "race_key, bet_type, seq",
       false},
  };
  return kTables;
}

const Table& table(std::string_view name) {
  for (const Table& t : tables()) {
    if (name == t.name) return t;
  }
  throw Error("unknown export table " + std::string(name));
}

// The column names of a table in order: "day" (but for the days table),
// the other columns, the record columns, "raw".
std::vector<std::string> columnNames(const Table& t) {
  std::vector<std::string> names;
  if (std::string_view(t.name) != "days") names.emplace_back("day");
  for (const auto& [name, type] : t.otherColumns) names.emplace_back(name);
  for (const Column& column : t.recordColumns) names.emplace_back(column.name);
  if (t.raw) names.emplace_back("raw");
  return names;
}

std::string createStatement(const Table& t) {
  std::string sql = "CREATE TABLE IF NOT EXISTS " + std::string(t.name) + " (";
  if (std::string_view(t.name) != "days") sql += "day TEXT NOT NULL, ";
  for (const auto& [name, type] : t.otherColumns) sql += std::string(name) + " " + type + ", ";
  for (const Column& column : t.recordColumns) {
    sql += std::string(column.name) + " " + column.type + ", ";
  }
  if (t.raw) sql += "raw BLOB NOT NULL, ";
  return sql + "PRIMARY KEY (" + t.primaryKey + "))";
}

std::string insertStatement(const Table& t) {
  const std::vector<std::string> names = columnNames(t);
  std::string columns, parameters;
  for (const std::string& name : names) {
    columns += (columns.empty() ? "" : ", ") + name;
    parameters += parameters.empty() ? "?" : ", ?";
  }
  // A key twice in one day's files (a record in a wrong SE slot) keeps the
  // later record, as a day file merge keeps the later line.
  return "INSERT OR REPLACE INTO " + std::string(t.name) + " (" + columns + ") VALUES (" +
         parameters + ")";
}

void createSchema(Database& db, const fs::path& path) {
  const int64_t version = db.integer("PRAGMA user_version");
  if (version != 0 && version != kSqliteExportSchemaVersion) {
    throw Error("この出力のSQLiteデータベースではありません (user_version " +
                std::to_string(version) + "): " + path.string());
  }
  db.exec("BEGIN IMMEDIATE");
  for (const Table& t : tables()) db.exec(createStatement(t));
  db.exec("CREATE INDEX IF NOT EXISTS races_day ON races (day)");
  db.exec("CREATE INDEX IF NOT EXISTS runners_day ON runners (day)");
  db.exec("CREATE INDEX IF NOT EXISTS runners_registration ON runners (registration_number)");
  db.exec("CREATE INDEX IF NOT EXISTS payouts_day ON payouts (day)");
  db.exec("CREATE INDEX IF NOT EXISTS payout_entries_day ON payout_entries (day)");
  db.exec("CREATE INDEX IF NOT EXISTS runner_figures_day ON runner_figures (day)");
  db.exec("CREATE INDEX IF NOT EXISTS combinations_day ON combinations (day)");
  db.exec(store::format("PRAGMA user_version = %d", kSqliteExportSchemaVersion));
  db.exec("COMMIT");
}

// ---------------------------------------------------------------------------
// One day.

// What one day writes, read before its transaction begins.
struct DayRecords {
  std::vector<std::string> races;
  std::vector<std::string> runners;
  std::vector<std::string> payouts;
  std::optional<DayReport> report;  // compared days only
};

std::vector<std::string> recordsOfKind(const std::optional<std::vector<std::string>>& records,
                                       std::string_view kind) {
  std::vector<std::string> out;
  if (!records) return out;
  for (const std::string& record : *records) {
    if (store::recordKind(record) == kind) out.push_back(record);
  }
  return out;
}

// The stored line of a record: the record without its CR LF.
std::string_view lineOf(std::string_view record) {
  if (record.size() >= 2 && record.substr(record.size() - 2) == "\r\n") {
    record.remove_suffix(2);
  }
  return record;
}

DayRecords readDay(const fs::path& dataFolder, const std::string& stem) {
  constexpr size_t kAll = std::numeric_limits<size_t>::max() / 2;
  DayRecords day;
  day.races = recordsOfKind(
      store::readFixedRecords(store::dayFilePath(dataFolder, stem, "", store::kRaExtension),
                              store::kRaRecordLength, kAll),
      "RA");
  day.payouts = recordsOfKind(
      store::readFixedRecords(store::dayFilePath(dataFolder, stem, "", store::kHrExtension),
                              store::kHrRecordLength, kAll),
      "HR");
  // The SE day files of the racecourses of the day's races, each once.
  std::set<std::string> racecourses;
  for (const std::string& race : day.races) {
    racecourses.emplace(head::kRacecourseCode.in(race));
  }
  store::SeDayFiles seFiles(dataFolder, stem);
  for (const std::string& racecourse : racecourses) {
    const store::FixedRecordFile* file = seFiles.of(racecourse);
    if (file == nullptr) continue;
    const std::string all = file->readRange(0, file->count());
    for (size_t at = 0; at + file->recordSize() <= all.size(); at += file->recordSize()) {
      std::string_view record(all.data() + at, file->recordSize());
      if (store::recordKind(record) == "SE" && se::kHorseNumber.numberIn(record) > 0) {
        day.runners.emplace_back(record);
      }
    }
  }
  return day;
}

Value rate(double value) { return value < 0 ? Value() : Value(value); }
Value rank(int value) { return value > 0 ? Value(int64_t{value}) : Value(); }

std::string nowUtc() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// Writes days: one transaction each, the day's rows deleted first.
class DayWriter {
 public:
  explicit DayWriter(Database& db) : m_db(db) {
    for (const Table& t : tables()) {
      m_delete.emplace(t.name, std::make_unique<Statement>(
                                   db, "DELETE FROM " + std::string(t.name) + " WHERE day = ?"));
      m_insert.emplace(t.name, std::make_unique<Statement>(db, insertStatement(t)));
    }
  }

  void write(const std::string& stem, const std::string& day, const DayRecords& records,
             const std::function<void(const std::string&)>& beforeCommit) {
    m_db.exec("BEGIN IMMEDIATE");
    try {
      const std::array<Value, 1> dayValue{day};
      for (auto& [name, statement] : m_delete) statement->run(dayValue);
      insertRecords("races", day, records.races);
      insertRecords("runners", day, records.runners);
      insertRecords("payouts", day, records.payouts);
      for (const std::string& payout : records.payouts) insertPayoutEntries(day, payout);
      if (records.report) insertReport(day, *records.report);
      const std::array<Value, 7> summary{
          day,
          stem,
          int64_t(records.races.size()),
          int64_t(records.runners.size()),
          int64_t(records.payouts.size()),
          int64_t{records.report ? 1 : 0},
          nowUtc(),
      };
      m_insert.at("days")->run(summary);
      if (beforeCommit) beforeCommit(stem);
      m_db.exec("COMMIT");
    } catch (...) {
      sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

  int64_t figures() const { return m_figures; }
  int64_t combinations() const { return m_combinations; }

 private:
  void insertRecords(const char* tableName, const std::string& day,
                     const std::vector<std::string>& records) {
    const Table& t = table(tableName);
    Statement& insert = *m_insert.at(tableName);
    std::vector<Value> values;
    for (const std::string& record : records) {
      values.clear();
      values.emplace_back(day);
      for (const Column& column : t.recordColumns) values.push_back(column.value(record));
      insert.run(values, lineOf(record));
    }
  }

  void insertPayoutEntries(const std::string& day, std::string_view payout) {
    const Value key = code(payout, head::kRaceKey);
    Statement& insert = *m_insert.at("payout_entries");
    for (const PaidCombination& paid : paidCombinations(payout)) {
      std::array<Value, 3> numbers;
      for (size_t i = 0; i < paid.numbers.size() && i < numbers.size(); ++i) {
        numbers[i] = int64_t{paid.numbers[i]};
      }
      const std::array<Value, 11> values{
          day,
          key,
          std::string(paid.betType->key),
          int64_t{paid.entry},
          std::string(paid.betType->name),
          numbers[0],
          numbers[1],
          numbers[2],
          paid.text,
          int64_t{paid.payout},
          rank(paid.popularity),
      };
      insert.run(values);
    }
  }

  void insertReport(const std::string& day, const DayReport& report) {
    Statement& figures = *m_insert.at("runner_figures");
    Statement& combinations = *m_insert.at("combinations");
    for (const RaceReport& race : report.races) {
      for (const HorseReport& h : race.horses) {
        const std::array<Value, 20> values{
            day,
            race.key,
            int64_t{h.number},
            int64_t{h.wins},
            int64_t{h.losses},
            rate(h.winRate),
            rank(h.winRateRank),
            int64_t{h.winPoints},
            int64_t{h.lossPoints},
            rate(h.pointWinRate),
            rank(h.pointWinRateRank),
            rank(h.winCountRank),
            rank(h.winCountReverseRank),
            rank(h.winPointsReverseRank),
            h.predictedOdds ? Value(*h.predictedOdds) : Value(),
            rank(h.predictedOddsRank),
            int64_t{h.expectedWins},
            int64_t{h.upsets},
            rate(h.upsetRate),
            int64_t{h.earnings},
        };
        figures.run(values);
        ++m_figures;
      }
      const std::pair<const char*, const std::vector<CombinationReport>*> lists[] = {
          {"trio", &race.trio}, {"quinella", &race.quinella}, {"exacta", &race.exacta}};
      for (const auto& [betType, list] : lists) {
        for (size_t k = 0; k < list->size(); ++k) {
          const CombinationReport& c = (*list)[k];
          const CombinationNumbers combination = combinationNumbers(c.text);
          std::array<Value, 3> numbers;
          for (size_t i = 0; i < combination.numbers.size(); ++i) {
            numbers[i] = int64_t{combination.numbers[i]};
          }
          const std::array<Value, 12> values{
              day,
              race.key,
              std::string(betType),
              int64_t(k + 1),
              numbers[0],
              numbers[1],
              numbers[2],
              combination.text,
              int64_t{c.score.hit ? 1 : 0},
              int64_t{c.score.payout},
              c.place ? Value(int64_t{c.place->hit ? 1 : 0}) : Value(),
              c.place ? Value(int64_t{c.place->payout}) : Value(),
          };
          combinations.run(values);
          ++m_combinations;
        }
      }
    }
  }

  Database& m_db;
  std::map<std::string, std::unique_ptr<Statement>> m_delete;
  std::map<std::string, std::unique_ptr<Statement>> m_insert;
  int64_t m_figures = 0;
  int64_t m_combinations = 0;
};

}  // namespace

CommandResult exportToSqlite(const Home& home, const SqliteExportRequest& request,
                             SqliteExportReport& report) {
  report = SqliteExportReport{};
  const std::vector<std::string> days = daysOfRange(home, request.fromDay, request.toDay);

  // The processed days of the range's years.
  std::set<std::string> processed;
  std::set<int> years;
  for (const std::string& day : days) {
    years.insert(store::toInt(store::dateOfDayStem(day).value_or("").substr(0, 4)));
  }
  for (int year : years) {
    for (std::string& day : output::readProcessedDays(home.root(), year)) {
      processed.insert(std::move(day));
    }
  }

  Database db(request.database);
  // The write-ahead log commits a day without waiting for the disk: a
  // killed export loses no committed day and the log never leaves half a
  // day; a power loss may take back the last days committed, never more.
  // The export ends in the rollback journal's mode, so the database is one
  // file again (the log is written back into it).
  db.exec("PRAGMA journal_mode = WAL");
  db.exec("PRAGMA synchronous = NORMAL");
  createSchema(db, request.database);
  DayWriter writer(db);

  SessionOptions options;
  options.writePredictions = false;
  options.threads = request.threads;
  std::optional<DaySession> session;

  for (size_t i = 0; i < days.size(); ++i) {
    if (request.cancel != nullptr && request.cancel->cancelled()) {
      db.exec("PRAGMA journal_mode = DELETE");
      report.cancelled = true;
      return CommandResult::cancel();
    }
    const std::string& stem = days[i];
    const std::string date = store::dateOfDayStem(stem).value_or("");
    DayRecords records = readDay(home.dataFolder(), stem);
    if (processed.count(stem) != 0) {
      if (!session) session.emplace(home, options);
      const CommandResult loaded =
          session->loadDay(stem, AfterLoading::kCompare, {}, request.cancel);
      if (loaded.cancelled()) {
        db.exec("PRAGMA journal_mode = DELETE");
        report.cancelled = true;
        return CommandResult::cancel();
      }
      if (loaded.ok()) {
        records.report = dayReport(*session);
        report.comparedDays.push_back(stem);
      } else {
        report.uncomparedDays.push_back(stem);
      }
    }
    writer.write(stem, isoDate(store::toInt(date)), records, request.beforeCommit);
    report.days.push_back(stem);
    report.races += static_cast<int64_t>(records.races.size());
    report.runners += static_cast<int64_t>(records.runners.size());
    report.payouts += static_cast<int64_t>(records.payouts.size());
    if (request.progress) {
      request.progress(
          {static_cast<int>(i + 1), static_cast<int>(days.size()), stem, "SQLiteに出力しています"});
    }
  }
  db.exec("PRAGMA journal_mode = DELETE");
  report.figures = writer.figures();
  report.combinations = writer.combinations();

  if (days.empty()) return CommandResult::information("出力する日がありません。");
  return CommandResult::information(store::format(
      "%zu日を出力しました (レース %lld, 出走馬 %lld, 払戻 %lld, 比較済み %zu日)", days.size(),
      static_cast<long long>(report.races), static_cast<long long>(report.runners),
      static_cast<long long>(report.payouts), report.comparedDays.size()));
}

}  // namespace orvalle::app
