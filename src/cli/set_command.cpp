#include <algorithm>
#include <memory>

#include "commands.h"
#include "store/cp932.h"

namespace orvalle::cli {
namespace {

// The value in CP932. A value that is not UTF-8, or holds a character CP932
// does not have, fails rather than being stored with "?" in its place.
std::string cp932Value(std::string_view utf8Value) {
  if (!cp932::isValidUtf8(utf8Value)) {
    throw CommandFailed{"値が UTF-8 の文字列ではありません。"};
  }
  std::string value = cp932::fromUtf8(utf8Value);
  if (std::count(value.begin(), value.end(), '?') !=
      std::count(utf8Value.begin(), utf8Value.end(), '?')) {
    throw CommandFailed{"値に Shift-JIS (CP932) で表せない文字が含まれています。"};
  }
  return value;
}

}  // namespace

// `set SECTION KEY VALUE`: validates the value as the setting's dialog does,
// writes it at once and prints it as read back.
void registerSetCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string section;
    std::string key;
    std::string value;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("set", "write one setting of orvalle.ini");
  command->add_option("SECTION", arguments->section, "section, e.g. DataSpan")->required();
  command->add_option("KEY", arguments->key, "key, e.g. period")->required();
  command->add_option("VALUE", arguments->value, "the new value")->required();
  command->footer(settingKeysHelp());
  command->callback([&context, &action, arguments] {
    const app::SettingKey& key = settingKeyOf(arguments->section, arguments->key);
    action = [&context, &key, arguments] {
      std::string value = cp932Value(arguments->value);
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
