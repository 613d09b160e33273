#include "session_support.h"

#include <CLI/CLI.hpp>

#include <algorithm>

#include "commands.h"
#include "store/cp932.h"
#include "store/day_file_names.h"

namespace orvalle::cli {

std::string dayArgument(const std::string& text) {
  std::optional<std::string> stem = store::parseDay(text);
  if (!stem) {
    throw CLI::ValidationError("DAY",
                               "日付は yyyymmdd か yyyy年mm月dd日 で指定してください: " + text);
  }
  return *stem;
}

std::string cp932Argument(std::string_view utf8Value) {
  if (!cp932::isValidUtf8(utf8Value)) {
    throw CommandFailed{"値が UTF-8 の文字列ではありません。"};
  }
  std::string value = cp932::fromUtf8(utf8Value);
  if (std::count(value.begin(), value.end(), '?') !=
      std::count(utf8Value.begin(), utf8Value.end(), '?')) {
    throw CommandFailed{"値に Shift-JIS (CP932) で表せない文字が含まれています。"};
  }
  return value;
}

std::unique_ptr<app::DaySession> openSession(const CliContext& context) {
  return std::make_unique<app::DaySession>(homeOf(context));
}

void finish(const CliContext& context, const app::CommandResult& result) {
  if (!result) throw CommandFailed{result.text()};
  for (const app::Notice& notice : result.notices) context.err << notice.text << "\n";
}

void loadDayOrFail(const CliContext& context, app::DaySession& session, const std::string& stem,
                   app::AfterLoading after) {
  finish(context, session.loadDay(stem, after));
}

int raceSlotOfArgument(const app::DaySession& session, int race) {
  int slot = session.raceSlotOfLine(race - 1);
  if (slot < 0) {
    throw CommandFailed{"レースがありません: " + std::to_string(race) + " (1-" +
                        std::to_string(session.raceList().size()) + ")"};
  }
  return slot;
}

void printTsvRow(std::ostream& out, const std::vector<std::string>& cp932Cells) {
  for (size_t i = 0; i < cp932Cells.size(); ++i) {
    if (i > 0) out << '\t';
    out << cp932::toUtf8(cp932Cells[i]);
  }
  out << '\n';
}

}  // namespace orvalle::cli
