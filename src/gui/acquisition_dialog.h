#pragma once

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "app/acquire_command.h"
#include "app/home.h"

class QDateTimeEdit;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace orvalle::gui {

// The acquisition dialog "ＪＶデータ取込": runs one JV-Link transfer of the
// home at a time through app::AcquireCommand on a worker thread and shows
// what the acquisition reports (status text, the three progress bars, the
// records stored from the current file, the past-run construction). The
// observer's calls cross to the dialog's thread as queued invocations.
//
// The command is made when a transfer starts, so a source chosen with
// "JVLink設定" counts from the next start. While a transfer runs, a second
// start is refused and closing the dialog asks to cancel it first; the
// destructor cancels a running transfer and waits for its end.
class AcquisitionDialog : public QDialog {
  Q_OBJECT

 public:
  // Chooses the replay source folder; `current` is the folder set now.
  // Returns the chosen folder, or an empty text when the user chose none.
  using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;

  // A dialog on the started-up home `home`; the picker and the radio choice
  // come from app::acquisitionStart.
  explicit AcquisitionDialog(app::Home home, QWidget* parent = nullptr);
  ~AcquisitionDialog() override;

  // Replaces the folder dialog of "JVLink設定" (tests answer it this way).
  void setFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

  // Called on the transfer's thread after each record listed, before the
  // next is read; tests hold a transfer in its reading this way. Set it
  // before a start only.
  using RecordHook = std::function<void()>;
  void setRecordHook(RecordHook hook) { m_recordHook = std::move(hook); }

  // True from a start until the transfer has ended and its thread is joined.
  bool transferRunning() const { return m_worker.joinable(); }

  // ButtonStart: tells the from-time, then starts the transfer. Refused
  // while a transfer runs; a missing source or a failed JVInit is told and
  // nothing starts.
  void startTransfer();
  // ButtonCancel: asks, and on Yes cancels the running transfer.
  void cancelTransfer();
  // SpeedButton1: chooses the replay source folder and writes it to the
  // settings ("JvLink" / "source").
  void chooseSource();

 signals:
  // A transfer has ended (its thread is joined); `result` is what the
  // acquisition returned (kFailed when the start failed).
  void transferEnded(const orvalle::acquire::AcquisitionResult& result);

 public slots:
  // Closes unless a transfer runs; then asks to cancel it, and on Yes the
  // dialog closes when the transfer has ended.
  void reject() override;

 private:
  class Observer;
  friend class Observer;

  void finishTransfer(const acquire::AcquisitionResult& result);
  void requestCancel();
  void setRunning(bool running);
  void setPicker(const app::DateTime& dateTime);

  app::Home m_home;
  FolderChooser m_chooseFolder;
  RecordHook m_recordHook;
  std::unique_ptr<app::AcquireCommand> m_command;
  std::thread m_worker;
  std::atomic<bool> m_workerDone{true};  // the worker has returned from the transfer
  bool m_closeWhenEnded = false;

  QPushButton* m_start = nullptr;         // ButtonStart
  QPushButton* m_cancel = nullptr;        // ButtonCancel
  QPushButton* m_sourceButton = nullptr;  // SpeedButton1
  QRadioButton* m_normal = nullptr;       // rbtNormal
  QRadioButton* m_setup = nullptr;        // rbtSetup
  QDateTimeEdit* m_picker = nullptr;      // DateTimePicker1
  QLabel* m_status = nullptr;             // ProgressLabel
  QProgressBar* m_download = nullptr;     // ProgressBar1
  QProgressBar* m_read = nullptr;         // ProgressBar2
  QProgressBar* m_pastRuns = nullptr;     // ProgressBar3
  QLabel* m_buildText = nullptr;          // Label9
  QListWidget* m_list = nullptr;          // ListBox1
};

}  // namespace orvalle::gui
