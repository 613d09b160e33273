#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string_view>

#include "app/home.h"
#include "app/settings.h"
#include "cli_context.h"

namespace orvalle::cli {

// Adds every subcommand to `app`. The chosen command stores its work in
// `action`; runCli calls it after parsing.
void registerCommands(CLI::App& app, CliContext& context, std::function<void()>& action);

// One registration per command, each in its own file. A command's callback
// runs while parsing and may throw a CLI::ParseError (a usage error); its
// work goes into `action`.
void registerInitCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerDaysCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerGetCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerSetCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerAcquireCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerFetchResultsCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerSimulateCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerRacesCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerCompareCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerCardCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerAnalyzeCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerUnprocessedCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerResultsCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerHitReportCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerImportOddsCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerKaimeCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerBacktestCommand(CLI::App& app, CliContext& context, std::function<void()>& action);
void registerExportCommand(CLI::App& app, CliContext& context, std::function<void()>& action);

// Help texts of arguments several commands share.
inline constexpr const char* kDayOptionHelp = "開催日: yyyymmdd または yyyy年mm月dd日";
inline constexpr const char* kRaceOptionHelp = "レース: レース一覧の何番目か（1から）";
inline constexpr const char* kSourceOptionHelp =
    "データの取得元フォルダ（省略時は設定のデータ取得元）";
inline constexpr const char* kJsonOptionHelp = "JSONで表示します";

// Accepts a whole number of at least 1; its message speaks Japanese.
inline const CLI::Validator kPositiveNumber(
    [](std::string& text) -> std::string {
      try {
        size_t used = 0;
        if (std::stoll(text, &used) >= 1 && used == text.size()) return {};
      } catch (const std::exception&) {
      }
      return "1以上の整数で指定してください: " + text;
    },
    "", "1以上");

// Adds `-q,--quiet` to a command with a progress line: no progress is shown.
void addQuietFlag(CLI::App& command, bool& quiet);

// The home folder of the --home option or the environment; nothing is
// created. Throws orvalle::Error when none can be decided.
app::Home homeOf(const CliContext& context);

// The settings key named on the command line. Throws CLI::ValidationError
// (a usage error) for a section and key the settings file does not have.
const app::SettingKey& settingKeyOf(std::string_view section, std::string_view key);

// The help text that lists the settings keys, for `get` and `set`.
std::string settingKeysHelp();

}  // namespace orvalle::cli
