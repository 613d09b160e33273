#include "gui_test_support.h"

#include <QDir>
#include <QProcess>
#include <QTableView>
#include <QTest>

#include <filesystem>

#include "command_runner.h"
#include "gui_text.h"

namespace orvalle::gui::test {

void RecordingNotifier::inform(QWidget*, const QString& text, bool beep) {
  messages.push_back({text, beep});
}

bool RecordingNotifier::confirm(QWidget*, const QString& text) {
  questions << text;
  if (answers.empty()) return true;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

bool RecordingNotifier::openDocument(const QString& path) {
  opened << path;
  return true;
}

NotifierScope::NotifierScope() {
  auto notifier = std::make_unique<RecordingNotifier>();
  m_notifier = notifier.get();
  m_previous = Notifier::install(std::move(notifier));
}

NotifierScope::~NotifierScope() { Notifier::install(std::move(m_previous)); }

TestHome::TestHome(bool empty) {
  if (empty) return;
  const QByteArray fixture = qgetenv("ORVALLE_GUI_FIXTURE");
  if (fixture.isEmpty()) qFatal("ORVALLE_GUI_FIXTURE is not set");
  namespace fs = std::filesystem;
  fs::copy(fs::path(fixture.toStdString()) / "home", fs::path(path().toStdString()),
           fs::copy_options::recursive);
}

app::Home TestHome::home() const { return app::Home(path().toStdString()); }

bool waitForCommand(MainWindow& window, int timeoutMs) {
  return QTest::qWaitFor([&window] { return !window.runner().busy(); }, timeoutMs);
}

QStringList rowTexts(const QTableView* table, int row) {
  QStringList texts;
  for (int column = 0; column < table->model()->columnCount(); ++column) {
    texts << table->model()->index(row, column).data().toString();
  }
  return texts;
}

QStringList fixtureDays(MainWindow& window) {
  QStringList days;
  for (const std::string& day : window.session().dateList()) days << fromUtf8(day);
  return days;
}

bool loadFinalDay(MainWindow& window) {
  const QStringList days = fixtureDays(window);
  return days.size() > 1 && window.chooseDay(days[1]) && waitForCommand(window);
}

}  // namespace orvalle::gui::test
