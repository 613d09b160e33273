#include "session_support.h"

#include <CLI/CLI.hpp>

#include <iomanip>
#include <sstream>

#include "analysis_report.h"
#include "app/race_header_report.h"
#include "app/user_input.h"
#include "commands.h"
#include "model/race_card.h"
#include "store/cp932.h"

namespace orvalle::cli {

std::string dayArgument(const std::string& text) {
  app::Input day = app::dayInput(text);
  if (!day) throw CLI::ValidationError("DAY", day.status.message());
  return day.value;
}

std::string cp932Argument(std::string_view utf8Value) {
  app::Input value = app::cp932Input(utf8Value);
  if (!value) throw CommandFailed{value.status.message()};
  return value.value;
}

std::unique_ptr<app::DaySession> openSession(const CliContext& context) {
  return std::make_unique<app::DaySession>(homeOf(context));
}

void failUnlessDone(const app::CommandResult& result) {
  if (result.ok()) return;
  std::string message = result.text();
  if (result.cancelled()) {
    // A cancelled command says nothing of its own; what it did before stays.
    if (!message.empty()) message += "\n";
    message += kInterruptedMessage;
  }
  throw CommandFailed{message};
}

void printNotices(const CliContext& context, const std::vector<app::Notice>& notices) {
  for (const app::Notice& notice : notices) context.out << notice.text << "\n";
}

void finish(const CliContext& context, const app::CommandResult& result) {
  failUnlessDone(result);
  printNotices(context, result.notices);
}

app::CommandResult loadDayOrFail(app::DaySession& session, const std::string& stem,
                                 app::AfterLoading after) {
  app::CommandResult loaded = session.loadDay(stem, after);
  failUnlessDone(loaded);
  return loaded;
}

void printAnalysis(const CliContext& context, const app::DaySession& session, bool json,
                   const std::vector<app::Notice>& notices) {
  const app::DayReport report = app::dayReport(session);
  if (json) {
    // Standard output holds the JSON alone: the notices go into it.
    context.out << analysisJson(report, notices).dump(2) << "\n";
    return;
  }
  printNotices(context, notices);
  printAnalysisSummary(context.out, report);
}

void printAnalysisCsv(const CliContext& context, const app::DaySession& session,
                      CsvEncoding encoding, const std::vector<app::Notice>& notices) {
  for (const app::Notice& notice : notices) context.err << notice.text << "\n";
  const app::DayReport report = app::dayReport(session);
  std::vector<std::string> header = {sj("日付"), sj("競馬場"), sj("R")};
  for (const std::string& heading : model::raceCardHeadings()) header.push_back(heading);
  printCsvRow(context.out, header, encoding);

  // "2024年01月06日": the year, then two digits after each three-byte kanji.
  const std::string& day = report.day;
  const std::string date =
      day.size() >= 14 ? day.substr(0, 4) + "-" + day.substr(7, 2) + "-" + day.substr(12, 2) : day;
  const std::vector<model::RaceListEntry>& races = session.raceList();
  for (size_t i = 0; i < races.size() && i < report.races.size(); ++i) {
    const app::RaceReport& race = report.races[i];
    for (const model::RaceCardRow& row : model::raceCardRows(session.tables(), race.slot)) {
      std::vector<std::string> cells = {date, sj(race.racecourse), std::to_string(race.raceNumber)};
      for (const std::string& cell : row.cells) cells.push_back(trimmedCell(cell));
      printCsvRow(context.out, cells, encoding);
    }
  }
}

std::string trimmedCell(std::string_view cell) { return std::string(app::trimmedText(cell)); }

int selectRaceOfArgument(const CliContext& context, app::DaySession& session, int race) {
  finish(context, session.selectRace(race - 1));
  return session.tables().currentRace;
}

std::string oneDecimal(double value) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(1) << value;
  return text.str();
}

void printTsvRow(std::ostream& out, const std::vector<std::string>& cp932Cells) {
  for (size_t i = 0; i < cp932Cells.size(); ++i) {
    if (i > 0) out << '\t';
    out << cp932::toUtf8(cp932Cells[i]);
  }
  out << '\n';
}

}  // namespace orvalle::cli
