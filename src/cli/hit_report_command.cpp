#include <memory>

#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `hit-report DAY [--longshot]`: loads and analyses the day, then writes the
// hit report ("的中", or "穴的中" with --longshot) into the home's HPupload
// folder. Prints the path of the fragment file, or nothing when the day had
// fewer than two hits and nothing was written.
void registerHitReportCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    bool longShot = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("hit-report", "開催日の的中レポートを書き出します");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  command->add_flag("--longshot", arguments->longShot,
                    "穴的中（券種ごとの基準を超える配当）だけを書き出します");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      const app::CommandResult loaded = loadDayOrFail(*session, stem, app::AfterLoading::kCompare);
      printNotices(context, loaded.notices);
      app::HitReportOutcome outcome = session->writeHitReport(
          arguments->longShot ? output::HitReportKind::kLongShot : output::HitReportKind::kFull);
      finish(context, outcome.result);
      if (outcome.files.written) context.out << outcome.files.fragmentPath.string() << "\n";
    };
  });
}

}  // namespace orvalle::cli
