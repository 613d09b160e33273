#include <memory>

#include "commands.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {

// `set SECTION KEY VALUE`: validates the value as the setting's dialog does,
// writes it at once and prints it as read back.
void registerSetCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string section;
    std::string key;
    std::string value;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("set", "設定（orvalle.ini）の値を1つ書き込みます");
  command->add_option("SECTION", arguments->section, "セクション（例: DataSpan）")->required();
  command->add_option("KEY", arguments->key, "キー（例: period）")->required();
  command->add_option("VALUE", arguments->value, "新しい値")->required();
  command->footer(settingKeysHelp());
  command->callback([&context, &action, arguments] {
    const app::SettingKey& key = settingKeyOf(arguments->section, arguments->key);
    action = [&context, &key, arguments] {
      std::string value = cp932Argument(arguments->value);
      app::Home home = homeOf(context);
      home.ensureRoot();
      app::Settings settings(home.iniPath());
      if (Status status = settings.setFromText(key, value); !status) {
        throw CommandFailed{status.message()};
      }
      context.out << cp932::toUtf8(settings.displayValue(key)) << "\n";
    };
  });
}

}  // namespace orvalle::cli
