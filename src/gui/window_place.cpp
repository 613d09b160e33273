#include "window_place.h"

#include <QWidget>

#include <optional>

#include "app/home_lock.h"
#include "gui_text.h"
#include "notifier.h"
#include "store/error.h"

namespace orvalle::gui {

void restoreWindowPlace(QWidget& window, app::Settings& settings, const WindowPlaceKeys& keys) {
  window.move(settings.integer(keys.left), settings.integer(keys.top));
  window.resize(settings.integer(keys.width), settings.integer(keys.height));
}

void saveWindowPlace(const QWidget& window, const app::Home& home, const WindowPlaceKeys& keys) {
  std::optional<app::HomeLock> lock;
  try {
    lock.emplace(home, app::HomeAccess::kWrite, app::HomeLock::Waiting(),
                 std::chrono::milliseconds(0));
  } catch (const Error&) {
    return;  // another program holds the home: the old place stays
  }
  try {
    app::Settings settings(home.iniPath());
    settings.setInteger(keys.top, window.y());
    settings.setInteger(keys.left, window.x());
    settings.setInteger(keys.width, window.width());
    settings.setInteger(keys.height, window.height());
  } catch (const Error& error) {
    Notifier::instance().inform(const_cast<QWidget*>(&window), fromUtf8(error.what()), false);
  }
}

}  // namespace orvalle::gui
