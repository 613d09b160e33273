#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

#include "main_window.h"
#include "notifier.h"

class QTableView;

namespace orvalle::gui::test {

// A notifier that records what the program tells the user instead of
// showing boxes, and answers confirmations from a queue (Yes when empty).
class RecordingNotifier final : public Notifier {
 public:
  struct Message {
    QString text;
    bool beep = false;
  };

  void inform(QWidget* parent, const QString& text, bool beep) override;
  bool confirm(QWidget* parent, const QString& text) override;
  void beep() override { ++beeps; }
  bool openDocument(const QString& path) override;

  std::vector<Message> messages;
  QStringList questions;
  std::deque<bool> answers;
  QStringList opened;
  int beeps = 0;
};

// Installs a RecordingNotifier for the life of the object.
class NotifierScope {
 public:
  NotifierScope();
  ~NotifierScope();
  RecordingNotifier& operator*() { return *m_notifier; }
  RecordingNotifier* operator->() { return m_notifier; }

 private:
  RecordingNotifier* m_notifier;
  std::unique_ptr<Notifier> m_previous;
};

// A copy of the shared simulated home (twelve race days, the JV-Link source
// set to the replay source beside it) in a temporary folder of its own.
class TestHome {
 public:
  // A copy of the fixture home; `empty` gives a folder that does not exist
  // yet instead (a first start).
  explicit TestHome(bool empty = false);
  QString path() const { return m_dir.path() + QStringLiteral("/home"); }
  app::Home home() const;

 private:
  QTemporaryDir m_dir;
};

// Waits (running the event loop) until the window's command has ended.
bool waitForCommand(MainWindow& window, int timeoutMs = 120000);

// The texts of a row of a table view (display role).
QStringList rowTexts(const QTableView* table, int row);

// The day stems of the fixture home, newest first: the newest has no results
// in its day files yet, the others are final.
QStringList fixtureDays(MainWindow& window);

// Chooses the newest final day of the fixture home (fixtureDays()[1]) and
// waits until it is loaded and compared.
bool loadFinalDay(MainWindow& window);

}  // namespace orvalle::gui::test
