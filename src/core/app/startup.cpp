#include "app/startup.h"

#include <system_error>

#include "betting/user_settings.h"
#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/file_system.h"

namespace orvalle::app {

bool ensureDefaultUserSettings(const Home& home) {
  std::filesystem::path path = home.userSetPath();
  const store::FileStatus status = store::fileSystem().status(path);
  if (status.kind != store::FileKind::kMissing || status.symlink) return false;
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
