#include "commands.h"

#include <sstream>

namespace orvalle::cli {

void registerCommands(CLI::App& app, CliContext& context, std::function<void()>& action) {
  registerInitCommand(app, context, action);
  registerDaysCommand(app, context, action);
  registerGetCommand(app, context, action);
  registerSetCommand(app, context, action);
  registerAcquireCommand(app, context, action);
  registerFetchResultsCommand(app, context, action);
  registerSimulateCommand(app, context, action);
  registerRacesCommand(app, context, action);
  registerCompareCommand(app, context, action);
  registerCardCommand(app, context, action);
  registerAnalyzeCommand(app, context, action);
  registerUnprocessedCommand(app, context, action);
  registerResultsCommand(app, context, action);
  registerHitReportCommand(app, context, action);
  registerImportOddsCommand(app, context, action);
  registerKaimeCommand(app, context, action);
  registerBacktestCommand(app, context, action);
  registerExportCommand(app, context, action);
}

void addQuietFlag(CLI::App& command, bool& quiet) {
  command.add_flag("-q,--quiet", quiet, "進行状況を表示しません");
}

app::Home homeOf(const CliContext& context) {
  return app::Home(app::Home::resolve(context.homeOption));
}

const app::SettingKey& settingKeyOf(std::string_view section, std::string_view key) {
  const app::SettingKey* found = app::findSettingKey(section, key);
  if (found == nullptr) {
    throw CLI::ValidationError("不明な設定です: " + std::string(section) + " " + std::string(key) +
                               "（--help で設定の一覧を表示します）");
  }
  return *found;
}

std::string settingKeysHelp() {
  std::string help = "Settings (SECTION KEY: type, default):\n";
  for (const app::SettingKey& key : app::allSettingKeys()) {
    const char* type = "text";
    switch (key.type) {
      case app::SettingType::kInteger:
        type = "integer";
        break;
      case app::SettingType::kBoolean:
        type = "0/1";
        break;
      case app::SettingType::kDecimal:
        type = "number";
        break;
      case app::SettingType::kText:
        break;
    }
    help += "  " + std::string(key.section) + " " + std::string(key.key) + ": " + type;
    if (key.range != nullptr) {
      // Shortest form of each bound ("365", "1"), as %g writes it.
      std::ostringstream range;
      range << key.range->minimum << ".." << key.range->maximum;
      help += " " + range.str();
    }
    if (!key.defaultValue.empty()) help += ", default " + std::string(key.defaultValue);
    help += "\n";
  }
  return help;
}

}  // namespace orvalle::cli
