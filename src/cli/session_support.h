#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "app/day_session.h"
#include "cli_context.h"

namespace orvalle::cli {

// The day stem (UTF-8) of a DAY argument (yyyymmdd or yyyy年mm月dd日).
// Throws CLI::ValidationError (a usage error) for anything else.
std::string dayArgument(const std::string& text);

// The CP932 form of a UTF-8 argument. An argument that is not UTF-8, or
// holds a character CP932 does not have, fails the command rather than
// being stored with "?" in its place.
std::string cp932Argument(std::string_view utf8Value);

// A session on the home folder of the command line.
std::unique_ptr<app::DaySession> openSession(const CliContext& context);

// Prints the notices of a command on standard error; a failed command
// throws CommandFailed with them.
void finish(const CliContext& context, const app::CommandResult& result);

// Loads a day into the session (with what `after` says) and fails the
// command with the loading's messages.
void loadDayOrFail(const CliContext& context, app::DaySession& session, const std::string& stem,
                   app::AfterLoading after);

// The race slot of a RACE argument: the 1-based line of the race list.
// Fails the command when the day has no such race.
int raceSlotOfArgument(const app::DaySession& session, int race);

// Prints CP932 cells as one TSV line in UTF-8.
void printTsvRow(std::ostream& out, const std::vector<std::string>& cp932Cells);

}  // namespace orvalle::cli
