#include <memory>
#include <optional>

#include "app/backtest.h"
#include "commands.h"
#include "interrupt_cancel.h"
#include "session_support.h"
#include "terminal_progress.h"

namespace orvalle::cli {
namespace {

// Bet types in the tallies' order, their names padded to six columns of a
// terminal.
constexpr const char* kBetTypeNames[app::kBetTypeCount] = {"馬連  ", "ワイド", "馬単  ", "三連複"};

// A rate "%.1f%%", or "-" when there is none (no stake).
std::string rateText(double rate) { return rate < 0 ? "-" : oneDecimal(rate) + "%"; }

void printReport(std::ostream& out, const app::BacktestReport& report) {
  out << "設定: " << report.settingIndex << " " << report.settingName
      << "  ｵｯｽﾞ上限: " << oneDecimal(report.oddsCeiling) << "\n";
  out << "日数: " << report.days.size();
  if (!report.days.empty()) {
    out << " (" << report.days.front().day << " - " << report.days.back().day << ")";
  }
  out << "  除外: " << report.skippedDays.size() << (report.cancelled ? "  中断" : "") << "\n";
  out << "券種    レース数   点数 的中数 的中率     投資額     回収額  回収率 最高配当 "
         "除最高回収率 最長連敗\n";
  for (int t = 0; t < app::kBetTypeCount; ++t) {
    const app::BacktestFigures& f = report.figures[static_cast<size_t>(t)];
    out << kBetTypeNames[t] << " " << std::setw(8) << f.races << " " << std::setw(6)
        << f.combinations << " " << std::setw(6) << f.hits << " " << std::setw(6)
        << rateText(f.hitRate()) << " " << std::setw(10) << f.stake << " " << std::setw(10)
        << f.payoutReturn << " " << std::setw(7) << rateText(f.returnRate()) << " " << std::setw(8)
        << f.largestPayout << " " << std::setw(12) << rateText(f.returnRateWithoutLargest()) << " "
        << std::setw(8) << f.longestLosingRun << "\n";
  }
}

}  // namespace

// `backtest [--from DAY] [--to DAY] [--setting INDEX] [--csv [FILE]]
// [--quiet]`: the combinations of a user combination setting scored over the
// final days of a range, without writing anything into the home. On a
// terminal a progress line counts the days done. Ctrl+C stops before the
// next day: the table of the days so far is printed, marked "中断", no CSV is
// written, and the command fails.
void registerBacktestCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string from;
    std::string to;
    std::optional<int> setting;
    std::string csv;
    CsvEncoding encoding = CsvEncoding::kUtf8;
    bool quiet = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "backtest", "score a combination setting over the days with final results (read-only)");
  command->add_option("--from", arguments->from, "first day: yyyymmdd or yyyy年mm月dd日");
  command->add_option("--to", arguments->to, "last day: yyyymmdd or yyyy年mm月dd日");
  command->add_option("--setting", arguments->setting,
                      "the setting's 0-based line in UserSet.usd (default: the active one)");
  CLI::Option* csv =
      command
          ->add_option("--csv", arguments->csv,
                       "write the per-day figures as CSV to FILE; without FILE print them "
                       "instead of the table")
          ->expected(0, 1);
  addCsvEncodingOption(*command, arguments->encoding, csv);
  addQuietFlag(*command, arguments->quiet);
  command->callback([&context, &action, arguments, csv] {
    const bool csvToOutput = csv->count() > 0 && arguments->csv.empty();
    app::BacktestRequest request;
    if (!arguments->from.empty()) request.fromDay = dayArgument(arguments->from);
    if (!arguments->to.empty()) request.toDay = dayArgument(arguments->to);
    request.settingIndex = arguments->setting;
    action = [&context, arguments, request, csvToOutput] {
      app::BacktestReport report;
      app::CommandResult result;
      {
        TerminalProgress bar(context, arguments->quiet);
        CancelFlag cancel;
        InterruptCancel interrupt(cancel);
        app::BacktestRequest running = request;
        running.progress = [&bar](const Progress& progress) {
          // Reported as a day starts: the days before it are done.
          bar.update(progress.position - 1, progress.maximum, progress.lowerLine);
        };
        running.cancel = &cancel;
        result = app::runBacktest(homeOf(context), running, report);
      }
      // The figures of the days before a cancel, marked as such.
      if (result.cancelled() && !csvToOutput) printReport(context.out, report);
      if (csvToOutput) {
        // Standard output holds the CSV alone; the figures are ASCII, the
        // same bytes in either encoding.
        failUnlessDone(result);
        for (const app::Notice& notice : result.notices) context.err << notice.text << "\n";
        context.out << app::backtestCsv(report);
        return;
      }
      finish(context, result);
      printReport(context.out, report);
      if (!arguments->csv.empty()) app::writeBacktestCsv(arguments->csv, report);
    };
  });
}

}  // namespace orvalle::cli
