#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/day_session.h"
#include "store/progress.h"

namespace orvalle::gui {

class ProgressWindow;

// Runs the long commands of the window (day loading, the all-race
// comparison, the results command, the hit report) on a worker thread, one
// at a time, while the progress window shows the command's reports and
// offers cancel; the window's event loop runs on meanwhile.
//
// The session belongs to the command while it runs: the window reads
// nothing of it until `done` is called (it disables its commands through
// busyChanged). Progress reports cross to the window's thread through one
// latest-report slot that a timer reads, so a command that reports often
// never floods the event loop.
class CommandRunner : public QObject {
  Q_OBJECT

 public:
  // The command: runs on the worker thread with the progress callback and
  // the cancel flag and returns its outcome.
  using Job = std::function<app::CommandResult(const ProgressCallback&, const CancelFlag&)>;
  // Runs on the window's thread when the command has ended.
  using Done = std::function<void(const app::CommandResult&)>;

  explicit CommandRunner(ProgressWindow* window, QObject* parent = nullptr);
  ~CommandRunner() override;

  // Starts `job` unless a command runs (then returns false and does
  // nothing). The progress window opens with the two lines. An
  // orvalle::Error or another exception thrown by the job ends the command
  // as a failure carrying its message.
  bool start(const QString& upperLine, const QString& lowerLine, Job job, Done done,
             bool cancellable = true);

  bool busy() const { return m_worker.joinable(); }

  // The home the commands write: each holds it alone (app::HomeLock) for
  // its run, so another program's command on the same home waits or fails.
  void setHome(app::Home home) { m_home = std::move(home); }
  // Asks the running command to stop at its next step.
  void cancel() { m_cancel.cancel(); }
  // Cancels a running command and waits for it to end, without calling its
  // `done` (the window is closing).
  void abandon();

 signals:
  void busyChanged(bool busy);

 private:
  void finish();
  void pollProgress();

  QPointer<ProgressWindow> m_window;
  std::optional<app::Home> m_home;
  QTimer m_progressTimer;
  std::thread m_worker;
  CancelFlag m_cancel;
  Done m_done;
  app::CommandResult m_result;

  std::mutex m_mutex;
  std::optional<Progress> m_latest;  // guarded by m_mutex
};

}  // namespace orvalle::gui
