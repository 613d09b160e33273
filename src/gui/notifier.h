#pragma once

#include <QString>

#include <memory>

#include "app/command_result.h"

class QWidget;

namespace orvalle::gui {

// Every message box, beep and hand-over to the desktop of the program goes
// through the notifier, so that tests can answer and record them instead of
// a modal box. One notifier serves the whole program (Notifier::instance);
// tests install their own with Notifier::install.
class Notifier {
 public:
  virtual ~Notifier() = default;

  // An information box with an OK button, after the warning beep when
  // `beep` is set.
  virtual void inform(QWidget* parent, const QString& text, bool beep) = 0;
  // A confirmation box with Yes and No; true for Yes.
  virtual bool confirm(QWidget* parent, const QString& text) = 0;
  // The warning beep alone.
  virtual void beep() = 0;
  // Opens a file with the application the desktop has for it (a browser for
  // HTML and text). False when the desktop could not open it.
  virtual bool openDocument(const QString& path) = 0;

  // The program's notifier: message boxes, QApplication::beep and
  // QDesktopServices, unless a test installed another.
  static Notifier& instance();
  // Installs `notifier` (nullptr: back to the program's own); returns the one
  // it replaces.
  static std::unique_ptr<Notifier> install(std::unique_ptr<Notifier> notifier);
};

// Shows the notices of a command in order, each as an information box
// (with the warning beep where the notice asks for it).
void showNotices(QWidget* parent, const app::CommandResult& result);

}  // namespace orvalle::gui
