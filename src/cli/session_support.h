#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/day_session.h"
#include "cli_context.h"
#include "csv_output.h"

namespace orvalle::cli {

// The day stem (UTF-8) of a DAY argument (app::dayInput: yyyymmdd or
// yyyy年mm月dd日 of a calendar date). Throws CLI::ValidationError (a usage
// error) with dayInput's message for anything else.
std::string dayArgument(const std::string& text);

// The CP932 form of a UTF-8 argument (app::cp932Input). An argument that is
// not UTF-8, or holds a character CP932 does not have, fails the command
// rather than being stored with "?" in its place.
std::string cp932Argument(std::string_view utf8Value);

// A session on the home folder of the command line.
std::unique_ptr<app::DaySession> openSession(const CliContext& context);

// The message of a command stopped by Ctrl+C.
inline constexpr std::string_view kInterruptedMessage = "中断しました。";

// Throws CommandFailed with the notices of a failed command, and of a
// cancelled one followed by kInterruptedMessage.
void failUnlessDone(const app::CommandResult& result);

// Prints the notices of a command that did its work on standard output,
// one per line.
void printNotices(const CliContext& context, const std::vector<app::Notice>& notices);

// Ends a command's step by its result: failUnlessDone, then printNotices.
void finish(const CliContext& context, const app::CommandResult& result);

// Loads a day into the session (with what `after` says) and fails the
// command with the loading's messages; returns the loading's result, its
// notices not yet printed.
app::CommandResult loadDayOrFail(app::DaySession& session, const std::string& stem,
                                 app::AfterLoading after);

// Prints the analysis of the session's day and the notices of the commands
// that made it: the notices (printNotices) and the summary, or the JSON with
// the notices as its "notices".
void printAnalysis(const CliContext& context, const app::DaySession& session, bool json,
                   const std::vector<app::Notice>& notices);

// Prints the analysis of the session's day as CSV in `encoding`: a header
// row, then one row per registered runner of every race of the race list
// (race-list order, then horse number): the date "yyyy-mm-dd", the
// racecourse, the race number and the 27 cells of the race card without
// their padding blanks. Standard output holds the CSV alone: the notices go
// to standard error.
void printAnalysisCsv(const CliContext& context, const app::DaySession& session,
                      CsvEncoding encoding, const std::vector<app::Notice>& notices);

// A race card cell (CP932) without the blanks, ASCII and "　", that pad it
// to its column or stand for an empty value.
std::string trimmedCell(std::string_view cell);

// Makes the race of a RACE argument (the 1-based line of the race list) the
// current race and returns its slot. Fails the command when the day has no
// such race.
int selectRaceOfArgument(const CliContext& context, app::DaySession& session, int race);

// A number with one decimal, as "%.1f" prints it.
std::string oneDecimal(double value);

// Prints CP932 cells as one TSV line in UTF-8.
void printTsvRow(std::ostream& out, const std::vector<std::string>& cp932Cells);

}  // namespace orvalle::cli
