#include "printer_access.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace orvalle::gui {
namespace {

class SystemPrinterAccess final : public PrinterAccess {
 public:
  bool hasPrinter() override { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

  bool confirmPrint(QWidget* parent, QPrinter& printer, int pageCount) override {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
  }

  void setUp(QWidget* parent, QPrinter& printer) override {
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
  }
};

std::unique_ptr<PrinterAccess>& slot() {
  static std::unique_ptr<PrinterAccess> access = std::make_unique<SystemPrinterAccess>();
  return access;
}

}  // namespace

PrinterAccess& PrinterAccess::instance() { return *slot(); }

std::unique_ptr<PrinterAccess> PrinterAccess::install(std::unique_ptr<PrinterAccess> access) {
  if (!access) access = std::make_unique<SystemPrinterAccess>();
  std::swap(slot(), access);
  return access;
}

QPrinter& PrinterAccess::printer() {
  // Made on first use and deleted with the application, while the print
  // system is still there.
  static QPrinter* printer = nullptr;
  if (printer == nullptr) {
    printer = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine([] {
      delete printer;
      printer = nullptr;
    });
  }
  return *printer;
}

}  // namespace orvalle::gui
