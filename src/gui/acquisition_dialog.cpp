#include "acquisition_dialog.h"

#include <QDateTimeEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "app/home_lock.h"
#include "app/settings.h"
#include "gui_text.h"
#include "notifier.h"
#include "store/cp932.h"

namespace orvalle::gui {
namespace {

const QString kPickerFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");
const QString kSourceHint =
    QStringLiteral("JV-Linkのデータ取得元フォルダ（JV-Dataの再生元）を設定します");

QString chooseFolderWithDialog(QWidget* parent, const QString& current) {
  return QFileDialog::getExistingDirectory(parent, QStringLiteral("JV-Linkのデータ取得元フォルダ"),
                                           current);
}

QProgressBar* progressBar(QWidget* parent, const char* name) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(0, 100);
  bar->setValue(0);
  return bar;
}

}  // namespace

// Hands the acquisition's reports from the worker thread to the dialog's
// thread. The acquisition beeps just before a message box; that beep goes
// with the box instead of sounding on its own, so the user hears it once.
class AcquisitionDialog::Observer final : public acquire::AcquisitionObserver {
 public:
  explicit Observer(AcquisitionDialog* dialog) : m_dialog(dialog) {}

  void message(acquire::MessageKind /*kind*/, const std::string& text) override {
    const bool beep = std::exchange(m_beepPending, false);
    post([text, beep](AcquisitionDialog* dialog) {
      Notifier::instance().inform(dialog, fromUtf8(text), beep);
    });
  }
  void beep() override {
    flushBeep();
    m_beepPending = true;
  }
  void statusText(const std::string& text) override {
    flushBeep();
    post([text](AcquisitionDialog* dialog) { dialog->m_status->setText(fromUtf8(text)); });
  }
  void progress(acquire::ProgressBar bar, int position, int maximum) override {
    flushBeep();
    post([bar, position, maximum](AcquisitionDialog* dialog) {
      QProgressBar* widget = bar == acquire::ProgressBar::kDownload ? dialog->m_download
                             : bar == acquire::ProgressBar::kRead   ? dialog->m_read
                                                                    : dialog->m_pastRuns;
      widget->setRange(0, std::max(maximum, 1));
      widget->setValue(std::clamp(position, 0, std::max(maximum, 1)));
    });
  }
  void listCleared() override {
    flushBeep();
    post([](AcquisitionDialog* dialog) { dialog->m_list->clear(); });
  }
  void listLine(const std::string& line) override {
    flushBeep();
    post([line](AcquisitionDialog* dialog) { dialog->m_list->addItem(fromUtf8(line)); });
    if (m_dialog->m_recordHook) m_dialog->m_recordHook();
  }
  void buildText(const std::string& text) override {
    flushBeep();
    post([text](AcquisitionDialog* dialog) { dialog->m_buildText->setText(fromUtf8(text)); });
  }
  void lastTimeSaved(const std::string& lastTime) override {
    flushBeep();
    if (std::optional<app::DateTime> dateTime = app::parseDateTime(lastTime)) {
      post([dateTime = *dateTime](AcquisitionDialog* dialog) { dialog->setPicker(dateTime); });
    }
  }

  // A beep that no message followed sounds on its own.
  void flushBeep() {
    if (std::exchange(m_beepPending, false)) {
      post([](AcquisitionDialog*) { Notifier::instance().beep(); });
    }
  }

 private:
  // The call runs on the dialog's thread; it is dropped when the dialog is
  // gone by then.
  template <typename Call>
  void post(Call call) {
    AcquisitionDialog* dialog = m_dialog;
    QMetaObject::invokeMethod(
        dialog, [dialog, call = std::move(call)] { call(dialog); }, Qt::QueuedConnection);
  }

  AcquisitionDialog* m_dialog;
  bool m_beepPending = false;
};

AcquisitionDialog::AcquisitionDialog(app::Home home, QWidget* parent)
    : QDialog(parent), m_home(std::move(home)), m_chooseFolder(chooseFolderWithDialog) {
  setObjectName(QStringLiteral("GetDataForm"));
  setWindowTitle(QStringLiteral("ＪＶデータ取込"));

  auto* kindBox = new QGroupBox(QStringLiteral("取得データ"), this);
  m_normal = new QRadioButton(QStringLiteral("通常データ"), kindBox);
  m_normal->setObjectName(QStringLiteral("rbtNormal"));
  m_setup = new QRadioButton(QStringLiteral("セットアップデータ"), kindBox);
  m_setup->setObjectName(QStringLiteral("rbtSetup"));
  auto* kindLayout = new QVBoxLayout(kindBox);
  kindLayout->addWidget(m_normal);
  kindLayout->addWidget(m_setup);

  m_picker = new QDateTimeEdit(this);
  m_picker->setObjectName(QStringLiteral("DateTimePicker1"));
  m_picker->setDisplayFormat(kPickerFormat);
  m_picker->setCalendarPopup(true);

  m_start = new QPushButton(QStringLiteral("データ取込み開始"), this);
  m_start->setObjectName(QStringLiteral("ButtonStart"));
  m_cancel = new QPushButton(QStringLiteral("データ取込み中止"), this);
  m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
  m_sourceButton = new QPushButton(QStringLiteral("JVLink設定"), this);
  m_sourceButton->setObjectName(QStringLiteral("SpeedButton1"));
  m_sourceButton->setToolTip(kSourceHint);
  m_sourceButton->setStatusTip(kSourceHint);
  // Enter in the picker must not start a transfer.
  for (QPushButton* button : {m_start, m_cancel, m_sourceButton}) button->setAutoDefault(false);

  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("ProgressLabel"));
  m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_status->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
  m_download = progressBar(this, "ProgressBar1");
  m_read = progressBar(this, "ProgressBar2");
  m_pastRuns = progressBar(this, "ProgressBar3");
  m_buildText = new QLabel(this);
  m_buildText->setObjectName(QStringLiteral("Label9"));
  m_buildText->setStyleSheet(QStringLiteral("color: blue;"));
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("ListBox1"));

  auto* top = new QHBoxLayout;
  auto* fromLayout = new QVBoxLayout;
  fromLayout->addWidget(new QLabel(QStringLiteral("取得開始日付"), this));
  fromLayout->addWidget(m_picker);
  fromLayout->addStretch();
  top->addWidget(kindBox);
  top->addLayout(fromLayout);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(m_start);
  buttons->addWidget(m_cancel);
  buttons->addWidget(m_sourceButton);
  top->addLayout(buttons);

  auto* bars = new QGridLayout;
  bars->addWidget(new QLabel(QStringLiteral("ダウンロード"), this), 0, 0);
  bars->addWidget(m_download, 0, 1);
  bars->addWidget(new QLabel(QStringLiteral("読込み"), this), 1, 0);
  bars->addWidget(m_read, 1, 1);
  bars->addWidget(new QLabel(QStringLiteral("過去データ構築"), this), 2, 0);
  bars->addWidget(m_pastRuns, 2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_status);
  layout->addLayout(bars);
  layout->addWidget(m_buildText);
  layout->addWidget(new QLabel(QStringLiteral("作成済みデータ"), this));
  layout->addWidget(m_list, 1);

  connect(m_start, &QPushButton::clicked, this, &AcquisitionDialog::startTransfer);
  connect(m_cancel, &QPushButton::clicked, this, &AcquisitionDialog::cancelTransfer);
  connect(m_sourceButton, &QPushButton::clicked, this, &AcquisitionDialog::chooseSource);

  const app::AcquisitionStart start =
      app::acquisitionStart(app::Settings(m_home.iniPath()), app::localNow());
  setPicker(start.from);
  (start.setup ? m_setup : m_normal)->setChecked(true);
  setRunning(false);
}

AcquisitionDialog::~AcquisitionDialog() {
  if (!m_worker.joinable()) return;
  // The transfer may not have begun yet; cancel is refused until it has.
  while (!m_workerDone && !m_command->cancel()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  m_worker.join();
}

void AcquisitionDialog::startTransfer() {
  if (transferRunning()) {
    Notifier::instance().inform(this, fromUtf8(acquire::kAlreadyRunningMessage), true);
    return;
  }
  const QString fromText = m_picker->dateTime().toString(kPickerFormat);
  const std::optional<app::DateTime> from = app::parseDateTime(toUtf8(fromText));
  if (!from) return;  // the picker only holds valid dates and times
  Notifier::instance().inform(
      this, fromUtf8(acquire::Acquisition::startMessage(app::fromTimeOf(*from))), false);

  m_download->setValue(0);
  m_read->setValue(0);
  m_list->clear();
  try {
    m_command = std::make_unique<app::AcquireCommand>(m_home, std::string_view());
  } catch (const std::exception& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    emit transferEnded(acquire::AcquisitionResult{});
    return;
  }

  setRunning(true);
  m_workerDone = false;
  m_worker = std::thread([this, command = m_command.get(), fromText = toUtf8(fromText),
                          setup = m_setup->isChecked()] {
    Observer observer(this);
    acquire::AcquisitionResult result;
    try {
      // The transfer holds the home alone for its whole run.
      const app::HomeLock lock(m_home, app::HomeAccess::kWrite);
      result = command->run(fromText, setup, observer);
    } catch (const std::exception& error) {
      observer.beep();
      observer.message(acquire::MessageKind::kError, error.what());
    }
    observer.flushBeep();
    m_workerDone = true;
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)] { finishTransfer(result); }, Qt::QueuedConnection);
  });
}

void AcquisitionDialog::cancelTransfer() {
  if (!transferRunning()) return;
  if (!Notifier::instance().confirm(this, fromUtf8(acquire::kCancelQuestion))) return;
  // The acquisition itself tells the user it was cancelled.
  requestCancel();
}

void AcquisitionDialog::requestCancel() {
  if (!transferRunning() || m_workerDone) return;
  if (!m_command->cancel()) {
    QTimer::singleShot(10, this, &AcquisitionDialog::requestCancel);
  }
}

void AcquisitionDialog::chooseSource() {
  try {
    app::Settings settings(m_home.iniPath());
    const QString current = fromCp932(settings.text(app::settings::kJvLinkSource));
    const QString folder = m_chooseFolder(this, current);
    if (folder.isEmpty()) return;
    const std::optional<std::string> cp932Folder = cp932::fromUtf8Exactly(toUtf8(folder));
    if (!cp932Folder) {
      Notifier::instance().inform(
          this,
          QStringLiteral("このフォルダ名は設定できません（Shift-JISで表せない文字があります）: ") +
              folder,
          true);
      return;
    }
    app::withHomeWriteLock(m_home,
                           [&] { settings.setText(app::settings::kJvLinkSource, *cp932Folder); });
  } catch (const std::exception& error) {  // the settings file could not be read or written
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

void AcquisitionDialog::reject() {
  if (!transferRunning()) {
    QDialog::reject();
    return;
  }
  if (!Notifier::instance().confirm(this, fromUtf8(acquire::kCancelQuestion))) return;
  m_closeWhenEnded = true;
  requestCancel();
}

void AcquisitionDialog::finishTransfer(const acquire::AcquisitionResult& result) {
  if (m_worker.joinable()) m_worker.join();
  m_command.reset();
  setRunning(false);
  emit transferEnded(result);
  if (std::exchange(m_closeWhenEnded, false)) QDialog::reject();
}

void AcquisitionDialog::setRunning(bool running) {
  m_start->setEnabled(!running);
  m_cancel->setEnabled(running);
  m_sourceButton->setEnabled(!running);
  m_normal->setEnabled(!running);
  m_setup->setEnabled(!running);
  m_picker->setEnabled(!running);
  setCursor(running ? Qt::BusyCursor : Qt::ArrowCursor);
}

void AcquisitionDialog::setPicker(const app::DateTime& dateTime) {
  const QDate date(dateTime.date / 10000, dateTime.date / 100 % 100, dateTime.date % 100);
  m_picker->setDateTime(QDateTime(date, QTime(dateTime.hour, dateTime.minute, dateTime.second)));
}

}  // namespace orvalle::gui
