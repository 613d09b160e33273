#include "command_runner.h"

#include <QMetaObject>

#include <exception>

#include "app/home_lock.h"
#include "progress_window.h"
#include "store/error.h"

namespace orvalle::gui {

CommandRunner::CommandRunner(ProgressWindow* window, QObject* parent)
    : QObject(parent), m_window(window) {
  m_progressTimer.setInterval(40);
  connect(&m_progressTimer, &QTimer::timeout, this, &CommandRunner::pollProgress);
  if (m_window) connect(m_window, &ProgressWindow::cancelRequested, this, [this] { cancel(); });
}

CommandRunner::~CommandRunner() { abandon(); }

bool CommandRunner::start(const QString& upperLine, const QString& lowerLine, Job job, Done done,
                          bool cancellable) {
  if (busy()) return false;
  m_cancel.reset();
  m_done = std::move(done);
  m_result = app::CommandResult{};
  {
    std::lock_guard lock(m_mutex);
    m_latest.reset();
  }
  if (m_window) {
    m_window->reset(upperLine, lowerLine);
    m_window->setCancellable(cancellable);
    m_window->show();
    m_window->raise();
  }
  emit busyChanged(true);
  m_progressTimer.start();

  ProgressCallback report = [this](const Progress& progress) {
    std::lock_guard lock(m_mutex);
    m_latest = progress;
  };
  m_worker = std::thread([this, job = std::move(job), report = std::move(report)] {
    app::CommandResult result;
    try {
      std::optional<app::HomeLock> lock;
      if (m_home) lock.emplace(*m_home, app::HomeAccess::kWrite);
      result = job(report, m_cancel);
    } catch (const Error& error) {
      result = app::CommandResult::failure(error.what());
    } catch (const std::exception& error) {
      result = app::CommandResult::failure(error.what());
    }
    m_result = std::move(result);
    QMetaObject::invokeMethod(this, &CommandRunner::finish, Qt::QueuedConnection);
  });
  return true;
}

void CommandRunner::pollProgress() {
  std::optional<Progress> latest;
  {
    std::lock_guard lock(m_mutex);
    latest.swap(m_latest);
  }
  if (latest && m_window) m_window->showProgress(*latest);
}

void CommandRunner::finish() {
  if (!m_worker.joinable()) return;  // abandoned meanwhile
  m_worker.join();
  m_progressTimer.stop();
  pollProgress();
  if (m_window) m_window->hide();
  Done done = std::move(m_done);
  m_done = nullptr;
  emit busyChanged(false);
  if (done) done(m_result);
}

void CommandRunner::abandon() {
  if (!m_worker.joinable()) return;
  m_cancel.cancel();
  m_worker.join();
  m_progressTimer.stop();
  m_done = nullptr;
  if (m_window) m_window->hide();
}

}  // namespace orvalle::gui
