#include <memory>

#include "commands.h"
#include "store/cp932.h"

namespace orvalle::cli {

// `get SECTION KEY`: prints a setting as the program reads it, its default
// when the file or key is missing.
void registerGetCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string section;
    std::string key;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("get", "設定（orvalle.ini）の値を1つ表示します");
  command->add_option("SECTION", arguments->section, "セクション（例: DataSpan）")->required();
  command->add_option("KEY", arguments->key, "キー（例: period）")->required();
  command->footer(settingKeysHelp());
  command->callback([&context, &action, arguments] {
    const app::SettingKey& key = settingKeyOf(arguments->section, arguments->key);
    action = [&context, &key] {
      app::Settings settings(homeOf(context).iniPath());
      context.out << cp932::toUtf8(settings.displayValue(key)) << "\n";
    };
  });
}

}  // namespace orvalle::cli
