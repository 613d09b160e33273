#include <nlohmann/json.hpp>

#include <cstdlib>
#include <memory>

#include "app/startup.h"
#include "app/user_settings_commands.h"
#include "commands.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {
namespace {

// The home with its user combination settings file, as the program's
// start-up leaves it: a missing "UserSet.usd" gets the default setting.
app::Home kaimeHome(const CliContext& context) {
  app::Home home = homeOf(context);
  home.ensureRoot();
  (void)app::ensureDefaultUserSettings(home);
  return home;
}

// One line per setting: "*" for the active one (else a blank), the index
// (the "SetID" that selects it) and the stored line.
void printSettings(const CliContext& context, const app::UserSettingsCommands& commands) {
  const std::vector<std::string>& lines = commands.editor().lines();
  const int active = commands.activeIndex();
  for (size_t i = 0; i < lines.size(); ++i) {
    context.out << (static_cast<int>(i) == active ? "* " : "  ") << i << " "
                << cp932::toUtf8(lines[i]) << "\n";
  }
}

nlohmann::json ruleJson(const betting::RankRule& rule) {
  if (rule.empty()) return nullptr;
  const std::string rank = cp932::toUtf8(rule.rank);
  return {{"criterion", cp932::toUtf8(rule.criterion)},
          {"rank", static_cast<int>(std::strtol(rank.c_str(), nullptr, 10))}};
}

// The settings as JSON: the active index (-1 without settings) and every
// setting with its index, stored line and its rules read from the line
// (a rule not set is null).
nlohmann::json settingsJson(const app::UserSettingsCommands& commands) {
  const std::vector<std::string>& lines = commands.editor().lines();
  nlohmann::json settings = nlohmann::json::array();
  for (size_t i = 0; i < lines.size(); ++i) {
    const betting::UserSetting setting = betting::parseUserSetting(lines[i]);
    nlohmann::json partners = nlohmann::json::array();
    for (const betting::RankRule& rule : setting.partners) partners.push_back(ruleJson(rule));
    settings.push_back(nlohmann::json{
        {"index", i},
        {"active", static_cast<int>(i) == commands.activeIndex()},
        {"name", cp932::toUtf8(setting.name)},
        {"axes", nlohmann::json::array({ruleJson(setting.axis1), ruleJson(setting.axis2)})},
        {"partners", std::move(partners)},
        {"popularityTrios", setting.popularityTrios},
        {"line", cp932::toUtf8(lines[i])},
    });
  }
  return {{"active", lines.empty() ? -1 : commands.activeIndex()},
          {"settings", std::move(settings)}};
}

void requireIndex(const app::UserSettingsCommands& commands, int index) {
  if (Status status = commands.checkIndex(index); !status) throw CommandFailed{status.message()};
}

}  // namespace

// `kaime list|add|delete|select`: the user combination settings on
// "UserSet.usd" with the dialog's validation and messages. Each prints the
// settings afterwards, the active one marked "*".
void registerKaimeCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string line;
    bool overwrite = false;
    int index = 0;
    bool json = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* kaime = app.add_subcommand(
      "kaime", "ユーザー買い目設定の一覧・追加・削除・選択（INDEX は0から数えた設定の番号）");
  kaime->require_subcommand(1);

  CLI::App* list =
      kaime->add_subcommand("list", "設定の一覧を表示します（使用中の設定に * が付きます）");
  list->add_flag("--json", arguments->json, "設定と各条件をJSONで表示します");
  list->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      app::UserSettingsCommands commands(kaimeHome(context));
      if (arguments->json) {
        context.out << settingsJson(commands).dump(2) << "\n";
        return;
      }
      printSettings(context, commands);
    };
  });

  CLI::App* add = kaime->add_subcommand("add", "設定を1行で検査して保存し、使用中の設定にします");
  add->add_option("LINE", arguments->line,
                  "設定名,軸1の条件,順位,軸2の条件,順位, 相手10組の条件と順位, 人気3連複を加えるか"
                  "(1/0)（カンマ・空白・引用符を含む設定名は \"\" で囲みます）")
      ->required();
  add->add_flag("--overwrite", arguments->overwrite, "同じ名前の設定を置き換えます");
  add->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      const std::string line = cp932Argument(arguments->line);
      app::UserSettingsCommands commands(kaimeHome(context));
      const bool overwrite = arguments->overwrite;
      finish(context,
             commands.saveLine(line, [overwrite](const std::string&) { return overwrite; }));
      printSettings(context, commands);
    };
  });

  CLI::App* remove = kaime->add_subcommand("delete", "設定を削除します（確認はしません）");
  remove->add_option("INDEX", arguments->index, "設定の番号")->required();
  remove->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      app::UserSettingsCommands commands(kaimeHome(context));
      if (!commands.editor().lines().empty()) requireIndex(commands, arguments->index);
      finish(context, commands.remove(arguments->index, [](const std::string&) { return true; }));
      printSettings(context, commands);
    };
  });

  CLI::App* select = kaime->add_subcommand("select", "使用する設定を選びます");
  select->add_option("INDEX", arguments->index, "設定の番号")->required();
  select->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      app::UserSettingsCommands commands(kaimeHome(context));
      requireIndex(commands, arguments->index);
      betting::UserSetting shown;
      finish(context, commands.select(arguments->index, shown));
      printSettings(context, commands);
    };
  });
}

}  // namespace orvalle::cli
