#pragma once

#include <memory>

class QPrinter;
class QWidget;

namespace orvalle::gui {

// The program's way to the system's printers: whether one exists, the print
// dialog and the printer set-up. One printer object serves the whole run, so
// what the user sets up carries over to every print. Tests install their own
// access (PrinterAccess::install) that prints into a PDF file without a
// dialog.
class PrinterAccess {
 public:
  virtual ~PrinterAccess() = default;

  // Whether the system has a printer at all.
  virtual bool hasPrinter() = 0;
  // The system print dialog for `printer`, its page range preset by the
  // caller; false when the user cancels.
  virtual bool confirmPrint(QWidget* parent, QPrinter& printer, int pageCount) = 0;
  // The printer set-up dialog (paper, orientation, margins).
  virtual void setUp(QWidget* parent, QPrinter& printer) = 0;

  static PrinterAccess& instance();
  // Installs `access` (nullptr: back to the system's); returns the one it
  // replaces.
  static std::unique_ptr<PrinterAccess> install(std::unique_ptr<PrinterAccess> access);
  // The printer of the run.
  static QPrinter& printer();
};

// The message of a print command when the system has no printer.
inline constexpr char kNoPrinterMessage[] = "プリンタが登録されていません";

}  // namespace orvalle::gui
