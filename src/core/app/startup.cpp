#include "app/startup.h"

#include <system_error>

#include "betting/user_settings.h"
#include "store/atomic_file.h"
#include "store/cp932.h"

namespace orvalle::app {

bool ensureDefaultUserSettings(const Home& home) {
  std::filesystem::path path = home.userSetPath();
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return false;
  store::writeFileAtomicallyOrThrow(path, sj(betting::kDefaultUserSettingLine) + "\r\n");
  return true;
}

Home startUp(std::string_view homeOption, const Home::Environment& environment) {
  Home home(Home::resolve(homeOption, environment));
  home.init();
  (void)ensureDefaultUserSettings(home);
  return home;
}

}  // namespace orvalle::app
