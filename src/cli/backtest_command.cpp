#include <memory>
#include <optional>

#include "analysis_report.h"
#include "app/backtest.h"
#include "app/race_header_report.h"
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

nlohmann::json rateJson(double rate) {
  return rate < 0 ? nlohmann::json(nullptr) : nlohmann::json(rate);
}

// The keys of the bet types in the tallies' order.
constexpr const char* kBetTypeKeys[app::kBetTypeCount] = {"quinella", "quinellaPlace", "exacta",
                                                          "trio"};

// The backtest as JSON: the setting, the figures per bet type (rates null
// without stake or combinations), every day's tallies and the skipped days.
nlohmann::json reportJson(const app::BacktestReport& report) {
  nlohmann::json figures = nlohmann::json::object();
  for (int t = 0; t < app::kBetTypeCount; ++t) {
    const app::BacktestFigures& f = report.figures[static_cast<size_t>(t)];
    figures[kBetTypeKeys[t]] = {
        {"races", f.races},
        {"combinations", f.combinations},
        {"hits", f.hits},
        {"hitRate", rateJson(f.hitRate())},
        {"stake", f.stake},
        {"return", f.payoutReturn},
        {"returnRate", rateJson(f.returnRate())},
        {"largestPayout", f.largestPayout},
        {"returnRateWithoutLargest", rateJson(f.returnRateWithoutLargest())},
        {"longestLosingRun", f.longestLosingRun},
    };
  }
  nlohmann::json days = nlohmann::json::array();
  for (const app::BacktestDay& day : report.days) {
    nlohmann::json tallies = nlohmann::json::object();
    for (int t = 0; t < app::kBetTypeCount; ++t) {
      const model::DayTally& tally = day.tallies[static_cast<size_t>(t)];
      tallies[kBetTypeKeys[t]] = {{"races", tally.races},
                                  {"combinations", day.combinations(t)},
                                  {"hits", tally.hits},
                                  {"stake", tally.stake},
                                  {"return", tally.payoutReturn}};
    }
    days.push_back({{"day", day.day},
                    {"date", app::isoDate(day.date)},
                    {"races", day.races},
                    {"tallies", tallies}});
  }
  return {{"setting", {{"index", report.settingIndex}, {"name", report.settingName}}},
          {"oddsCeiling", report.oddsCeiling},
          {"cancelled", report.cancelled},
          {"figures", std::move(figures)},
          {"days", std::move(days)},
          {"skippedDays", report.skippedDays}};
}

}  // namespace

// `backtest [--from DAY] [--to DAY] [--setting INDEX] [--csv [FILE] |
// --json] [--quiet]`: the combinations of a user combination setting scored
// over the final days of a range, without writing anything into the home. On
// a terminal a progress line counts the days done. Ctrl+C stops before the
// next day: the table (marked "中断") or the JSON of the days so far is
// printed, no CSV is written, and the command fails.
void registerBacktestCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string from;
    std::string to;
    std::optional<int> setting;
    std::string csv;
    CsvEncoding encoding = CsvEncoding::kUtf8;
    bool quiet = false;
    bool json = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("backtest",
                                         "買い目設定を成績の確定した日で検証し、券種ごとの的中率と"
                                         "回収率を表示します（何も書き込みません）");
  command->add_option("--from", arguments->from, "最初の日: yyyymmdd または yyyy年mm月dd日")
      ->type_name("DAY");
  command->add_option("--to", arguments->to, "最後の日: yyyymmdd または yyyy年mm月dd日")
      ->type_name("DAY");
  command->add_option("--setting", arguments->setting,
                      "検証するユーザー買い目設定の番号（0から。省略時は使用中の設定）");
  CLI::Option* csv =
      command
          ->add_option("--csv", arguments->csv,
                       "日ごとの成績をCSVでFILEに書きます。FILEを省略すると表の代わりにCSVを"
                       "表示します")
          ->type_name("FILE")
          ->expected(0, 1);
  addCsvEncodingOption(*command, arguments->encoding, csv);
  command->add_flag("--json", arguments->json, "検証結果と日ごとの成績をJSONで表示します")
      ->excludes(csv);
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
      if (arguments->json) {
        // A cancelled backtest shows its days so far ("cancelled": true).
        if (!result.cancelled()) failUnlessDone(result);
        nlohmann::json out = reportJson(report);
        addNotices(out, result.notices);
        context.out << out.dump(2) << "\n";
        failUnlessDone(result);
        return;
      }
      // The table of the days before a cancel, marked as such.
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
