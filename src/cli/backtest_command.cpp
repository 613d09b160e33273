#include <memory>
#include <optional>

#include "app/backtest.h"
#include "commands.h"
#include "session_support.h"
#include "store/atomic_file.h"
#include "store/day_file_names.h"
#include "store/fixed_width.h"

namespace orvalle::cli {
namespace {

// Bet types in the tallies' order: the table's name (padded to six columns
// of a terminal) and the CSV's key.
struct BetTypeName {
  const char* table;
  const char* csv;
};
constexpr BetTypeName kBetTypes[app::kBetTypeCount] = {
    {"馬連  ", "quinella"}, {"ワイド", "quinellaPlace"}, {"馬単  ", "exacta"}, {"三連複", "trio"}};

// A rate, or "-" when there is none (no stake).
std::string rateText(double rate) { return rate < 0 ? "-" : store::format("%.1f%%", rate); }

// "yyyy-mm-dd" of a day stem.
std::string isoDate(const std::string& stem) {
  std::string date = store::dateOfDayStem(stem).value_or(stem);
  if (date.size() != 8) return date;
  return date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
}

void printReport(std::ostream& out, const app::BacktestReport& report) {
  out << "設定: " << report.settingIndex << " " << report.settingName
      << store::format("  ｵｯｽﾞ上限: %.1f", report.oddsCeiling) << "\n";
  out << "日数: " << report.days.size();
  if (!report.days.empty()) {
    out << " (" << report.days.front().day << " - " << report.days.back().day << ")";
  }
  out << "  除外: " << report.skippedDays.size() << (report.cancelled ? "  中断" : "") << "\n";
  out << "券種    レース数   点数 的中数 的中率     投資額     回収額  回収率 最高配当 "
         "除最高回収率 最長連敗\n";
  for (int t = 0; t < app::kBetTypeCount; ++t) {
    const app::BacktestFigures& f = report.figures[static_cast<size_t>(t)];
    out << kBetTypes[t].table
        << store::format(" %8lld %6lld %6lld %6s %10lld %10lld %7s %8d %12s %8d\n",
                         static_cast<long long>(f.races), static_cast<long long>(f.combinations),
                         static_cast<long long>(f.hits), rateText(f.hitRate()).c_str(),
                         static_cast<long long>(f.stake), static_cast<long long>(f.payoutReturn),
                         rateText(f.returnRate()).c_str(), f.largestPayout,
                         rateText(f.returnRateWithoutLargest()).c_str(), f.longestLosingRun);
  }
}

// One row per day and bet type.
std::string csvOf(const app::BacktestReport& report) {
  std::string csv = "date,betType,races,combinations,hits,stake,return,returnRate\r\n";
  for (const app::BacktestDay& day : report.days) {
    for (int t = 0; t < app::kBetTypeCount; ++t) {
      const model::DayTally& tally = day.tallies[static_cast<size_t>(t)];
      csv += isoDate(day.day) + "," + kBetTypes[t].csv +
             store::format(",%d,%d,%d,%d,%d,", tally.races, tally.stake / 100, tally.hits,
                           tally.stake, tally.payoutReturn);
      if (tally.stake > 0) csv += store::format("%.1f", 100.0 * tally.payoutReturn / tally.stake);
      csv += "\r\n";
    }
  }
  return csv;
}

}  // namespace

// `backtest [--from DAY] [--to DAY] [--setting INDEX] [--csv FILE]`: the
// combinations of a user combination setting scored over the final days of
// a range, without writing anything into the home.
void registerBacktestCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string from;
    std::string to;
    std::optional<int> setting;
    std::string csv;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "backtest", "score a combination setting over the days with final results (read-only)");
  command->add_option("--from", arguments->from, "first day: yyyymmdd or yyyy年mm月dd日");
  command->add_option("--to", arguments->to, "last day: yyyymmdd or yyyy年mm月dd日");
  command->add_option("--setting", arguments->setting,
                      "the setting's 0-based line in UserSet.usd (default: the active one)");
  command->add_option("--csv", arguments->csv, "write the per-day figures to FILE");
  command->callback([&context, &action, arguments] {
    app::BacktestRequest request;
    if (!arguments->from.empty()) request.fromDay = dayArgument(arguments->from);
    if (!arguments->to.empty()) request.toDay = dayArgument(arguments->to);
    request.settingIndex = arguments->setting;
    action = [&context, arguments, request] {
      app::BacktestReport report;
      finish(context, app::runBacktest(homeOf(context), request, report));
      printReport(context.out, report);
      if (!arguments->csv.empty()) {
        store::writeFileAtomicallyOrThrow(arguments->csv, csvOf(report));
      }
    };
  });
}

}  // namespace orvalle::cli
