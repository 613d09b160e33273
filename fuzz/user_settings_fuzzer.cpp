// The user combination settings file "UserSet.usd" as the settings dialog
// and the `kaime` commands read it, and its settings as the combination
// calculation applies them.
// Input: the file.

#include <string>
#include <vector>

#include "app/home.h"
#include "app/user_settings_commands.h"
#include "betting/combination_calculation.h"
#include "betting/user_settings.h"
#include "betting/user_settings_editor.h"
#include "betting/user_settings_file.h"
#include "fuzz_input.h"
#include "model/race_analysis.h"
#include "store/error.h"

namespace {

// Commands that change settings select at most this many of them, so that
// a file of many lines stays fast to run.
constexpr int kSelectedSettings = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvalle;
  fuzz::MemoryHome home;
  const app::Home memoryHome("/home");
  home.files().putFile(memoryHome.userSetPath(), std::string(fuzz::inputText(data, size)));

  try {
    const auto lines = betting::readUserSettingLines(memoryHome.userSetPath());
    if (!lines) __builtin_trap();  // the file is there
    for (const std::string& line : *lines) {
      (void)betting::splitSettingLine(line);
      const betting::UserSetting setting = betting::parseUserSetting(line);
      (void)betting::validateUserSetting(setting);
      (void)betting::userSettingLine(setting);
    }
    for (int setId = -1; setId <= static_cast<int>(lines->size()); ++setId) {
      model::RaceAnalysis analysis;
      betting::formCombinations(analysis, betting::activeUserSetting(*lines, setId, true));
    }

    app::UserSettingsCommands commands(memoryHome);
    (void)commands.activeIndex();
    const int settings = static_cast<int>(commands.editor().lines().size());
    betting::UserSetting form;
    for (int index = 0; index < settings && index < kSelectedSettings; ++index) {
      (void)commands.checkIndex(index);
      (void)commands.select(index, form);
      (void)commands.save(form, [](const std::string&) { return true; });
    }
    if (settings > 0) (void)commands.remove(settings - 1, [](const std::string&) { return true; });
  } catch (const Error&) {
  }
  return 0;
}
