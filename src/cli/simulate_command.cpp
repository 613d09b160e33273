#include <CLI/CLI.hpp>

#include <functional>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "sim/simulator.h"
#include "terminal_progress.h"

namespace orvalle::cli {
namespace {

std::string slashedDate(int yyyymmdd) {
  std::ostringstream text;
  text << std::setfill('0') << std::setw(4) << yyyymmdd / 10000 << "/" << std::setw(2)
       << yyyymmdd / 100 % 100 << "/" << std::setw(2) << yyyymmdd % 100;
  return text.str();
}

}  // namespace

// `simulate --out DIR [--days N] [--seed S] [--start yyyymmdd] [--quiet]`:
// writes a replay source of synthetic race days and prints what it wrote. On
// a terminal a progress line counts the days written.
void registerSimulateCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  auto options = std::make_shared<sim::SimulationOptions>();
  auto out = std::make_shared<std::string>();
  auto quiet = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "simulate",
      "本物に似せた架空の開催日のデータを取得元フォルダとして書き出します（試用・試験・計測用）");
  command->add_option("--out", *out, "書き出す取得元フォルダ")->type_name("DIR")->required();
  command->add_option("--days", options->days, "開催日の数（既定 8）")->check(CLI::Range(1, 20000));
  command->add_option("--seed", options->seed, "乱数の種（既定 1）");
  command
      ->add_option("--start", options->startDate,
                   "最初の日 yyyymmdd。その日以降の最初の開催日から始めます（既定 20210101）")
      ->type_name("DAY")
      ->check(CLI::Range(19000101, 29991231));
  addQuietFlag(*command, *quiet);
  command->callback([&context, &action, options, out, quiet] {
    action = [&context, options, out, quiet] {
      sim::SimulationOptions running = *options;
      running.outputFolder = *out;
      sim::SimulationSummary summary;
      {
        TerminalProgress bar(context, *quiet);
        running.progress = [&bar](const Progress& progress) {
          bar.update(progress.position, progress.maximum, progress.upperLine);
        };
        summary = sim::simulate(running);
      }
      context.out << "開催日数: " << summary.days << "\n"
                  << "期間: " << slashedDate(summary.firstDate) << " - "
                  << slashedDate(summary.lastDate) << "\n"
                  << "レース数: " << summary.races << "\n"
                  << "出走馬(延べ): " << summary.runners << "\n"
                  << "馬数: " << summary.horses << "\n"
                  << "ファイル数: " << summary.files << "\n"
                  << "サイズ: " << summary.bytes << " バイト\n"
                  << "出力先: " << running.outputFolder.string() << "\n";
    };
  });
}

}  // namespace orvalle::cli
