#include "notifier.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace orvalle::gui {
namespace {

class MessageBoxNotifier final : public Notifier {
 public:
  void inform(QWidget* parent, const QString& text, bool beep) override {
    if (beep) QApplication::beep();
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
  }
  bool confirm(QWidget* parent, const QString& text) override {
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }
  void beep() override { QApplication::beep(); }
  bool openDocument(const QString& path) override {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  }
};

std::unique_ptr<Notifier>& slot() {
  static std::unique_ptr<Notifier> notifier = std::make_unique<MessageBoxNotifier>();
  return notifier;
}

}  // namespace

Notifier& Notifier::instance() { return *slot(); }

std::unique_ptr<Notifier> Notifier::install(std::unique_ptr<Notifier> notifier) {
  if (!notifier) notifier = std::make_unique<MessageBoxNotifier>();
  std::swap(slot(), notifier);
  return notifier;
}

void showNotices(QWidget* parent, const app::CommandResult& result) {
  for (const app::Notice& notice : result.notices) {
    Notifier::instance().inform(
        parent, QString::fromUtf8(notice.text.data(), static_cast<qsizetype>(notice.text.size())),
        notice.beep);
  }
}

}  // namespace orvalle::gui
