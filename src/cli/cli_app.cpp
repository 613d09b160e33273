#include "cli_app.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>

#include "app/home_lock.h"
#include "cli_context.h"
#include "commands.h"
#include "help_formatter.h"
#include "store/error.h"

namespace orvalle::cli {
namespace {

// What the chosen command does with the home; nullopt for a command that
// does not touch one. Commands that load a day compare it and write its
// predictions, so only these read the home alone.
std::optional<app::HomeAccess> homeAccessOf(const CLI::App& app) {
  const std::vector<CLI::App*> commands = app.get_subcommands();
  if (commands.empty()) return std::nullopt;
  const CLI::App& command = *commands.front();
  const std::string& name = command.get_name();
  if (name == "simulate") return std::nullopt;
  if (name == "days" || name == "get" || name == "backtest" || name == "export") {
    return app::HomeAccess::kRead;
  }
  if (name == "unprocessed" && command.count("--run") == 0) return app::HomeAccess::kRead;
  if (name == "kaime") {
    const std::vector<CLI::App*> actions = command.get_subcommands();
    if (!actions.empty() && actions.front()->get_name() == "list") return app::HomeAccess::kRead;
  }
  return app::HomeAccess::kWrite;
}

// A usage error in the user's language. The program's own checks already
// speak it; CLI11's messages get a Japanese lead with the original detail,
// which names the argument, in parentheses.
std::string usageErrorMessage(const CLI::ParseError& error) {
  const std::string what = error.what();
  const bool japanese = std::any_of(what.begin(), what.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (japanese) return what;
  struct Lead {
    const char* errorName;
    const char* text;
  };
  static const Lead kLeads[] = {
      {"RequiredError", "必要な引数が指定されていません"},
      {"ExtrasError", "余分な引数があります"},
      {"ConversionError", "値を読み取れません"},
      {"ValidationError", "値が正しくありません"},
      {"ArgumentMismatch", "引数の数が合いません"},
      {"ExcludesError", "同時に指定できないものが指定されています"},
      {"RequiresError", "一緒に指定するものが足りません"},
  };
  for (const Lead& lead : kLeads) {
    if (error.get_name() == lead.errorName) return std::string(lead.text) + "（" + what + "）";
  }
  return "引数が正しくありません（" + what + "）";
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliTerminal& terminal) {
  CliContext context{"", out, err, terminal.progress, terminal.columns};
  CLI::App app{
      "orvalle-cli: JRA の開催日のデータから全レースの出走馬を共通の対戦相手を通して比較し、"
      "買い目・成績・検証を表示します",
      "orvalle-cli"};
  useJapaneseHelp(app);
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("orvalle-cli ") + ORVALLE_VERSION,
                       "版を表示して終了します");
  app.add_option("--home", context.homeOption,
                 "ホームフォルダ（既定: $ORVALLE_HOME、なければ $XDG_DATA_HOME/orvalle）")
      ->type_name("DIR");

  // Each command registers itself and leaves its work in `action`, run after
  // parsing so that a failure is not mistaken for a usage error.
  std::function<void()> action;
  registerCommands(app, context, action);
  finishJapaneseHelp(app);

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp& e) {
    out << app.help();
    return kExitSuccess;
  } catch (const CLI::CallForAllHelp& e) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitSuccess;
  } catch (const CLI::CallForVersion& e) {
    out << e.what() << "\n";
    return kExitSuccess;
  } catch (const CLI::ParseError& e) {
    err << usageErrorMessage(e) << "\n"
        << "使い方は orvalle-cli --help（コマンドごとには orvalle-cli コマンド "
           "--help）で表示します。\n";
    return kExitUsage;
  }

  try {
    // The command holds the home for its whole run: alone when it writes.
    std::optional<app::HomeLock> lock;
    if (const std::optional<app::HomeAccess> access = homeAccessOf(app)) {
      std::optional<app::Home> home;
      try {
        home.emplace(app::Home::resolve(context.homeOption));
      } catch (const Error&) {
        // No home folder can be named: the command says so itself.
      }
      if (home) {
        lock.emplace(*home, *access, [&err] { err << app::kHomeBusyWaitingMessage << "\n"; });
      }
    }
    if (action) action();
    return kExitSuccess;
  } catch (const CommandFailed& failure) {
    err << failure.message << "\n";
  } catch (const Error& error) {
    err << error.what() << "\n";
  } catch (const std::exception& error) {
    err << error.what() << "\n";
  }
  return kExitFailure;
}

}  // namespace orvalle::cli
