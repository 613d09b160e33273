#pragma once

#include "app/home.h"
#include "app/settings.h"

class QWidget;

namespace orvalle::gui {

// The four settings that keep a window's place and size.
struct WindowPlaceKeys {
  const app::SettingKey& top;
  const app::SettingKey& left;
  const app::SettingKey& width;
  const app::SettingKey& height;
};

// The main window's place ("locate") and the print preview's ("Printlocate").
inline constexpr WindowPlaceKeys kMainWindowPlace{
    app::settings::kLocateTop, app::settings::kLocateLeft, app::settings::kLocateWidth,
    app::settings::kLocateHeight};
inline constexpr WindowPlaceKeys kPrintPreviewPlace{
    app::settings::kPrintTop, app::settings::kPrintLeft, app::settings::kPrintWidth,
    app::settings::kPrintHeight};

// Moves and sizes `window` as the settings say. Throws orvalle::Error when
// the settings file cannot be read.
void restoreWindowPlace(QWidget& window, app::Settings& settings, const WindowPlaceKeys& keys);

// Writes the window's place and size to the settings file of `home`, under
// the home's lock. The lock is tried once, without waiting: while another
// program holds the home the place is not kept, silently (a window that
// closes neither stands still nor asks). A file that cannot be written is
// told (without the beep); the window closes all the same.
void saveWindowPlace(const QWidget& window, const app::Home& home, const WindowPlaceKeys& keys);

}  // namespace orvalle::gui
