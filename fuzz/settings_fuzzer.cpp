// The settings file "orvalle.ini" as every command reads it, and a change
// of one key, which reads the file before it rewrites it.
// Input: the file.

#include <string>
#include <vector>

#include "app/home.h"
#include "app/odds_import_command.h"
#include "app/settings.h"
#include "fuzz_input.h"
#include "store/error.h"

namespace {

using namespace orvalle;

// Every key as the user is shown it; the typed readers serve displayValue.
std::vector<std::string> displayValues(const app::Settings& settings) {
  std::vector<std::string> values;
  for (const app::SettingKey& key : app::allSettingKeys()) {
    values.push_back(settings.displayValue(key));
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::MemoryHome home;
  const app::Home memoryHome("/home");
  home.files().putFile(memoryHome.iniPath(), std::string(fuzz::inputText(data, size)));

  try {
    app::Settings settings(memoryHome.iniPath());
    (void)settings.integer(app::settings::kPastRunPeriod);
    (void)settings.boolean(app::settings::kIgnorePastRunDates);
    (void)settings.decimal(app::settings::kOddsCeiling);
    (void)app::predictedOddsFolder(memoryHome, settings);

    // A change keeps the other keys as they read and reads back as written.
    const std::vector<std::string> before = displayValues(settings);
    const std::string lastTime = "2024/01/06 18:30:00";
    settings.setText(app::settings::kLastAcquisitionTime, lastTime);
    const std::vector<std::string> after = displayValues(settings);
    const auto keys = app::allSettingKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
      const bool changed = keys[i] == app::settings::kLastAcquisitionTime;
      if (changed ? after[i] != lastTime : after[i] != before[i]) __builtin_trap();
    }
  } catch (const Error&) {
  }
  return 0;
}
