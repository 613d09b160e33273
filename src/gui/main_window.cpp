#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>
#include <utility>

#include "acquisition_dialog.h"
#include "analysis/comparison_tables.h"
#include "analysis/grid6_cells.h"
#include "app/home_lock.h"
#include "app/user_input.h"
#include "combination_tab.h"
#include "command_runner.h"
#include "detailed_card.h"
#include "dialogs.h"
#include "grid_model.h"
#include "grid_printer.h"
#include "gui_text.h"
#include "manual.h"
#include "notifier.h"
#include "print_preview.h"
#include "printer_access.h"
#include "progress_window.h"
#include "results_panel_widget.h"
#include "settings_dialogs.h"
#include "sheet_printing.h"
#include "store/cp932.h"
#include "store/error.h"
#include "unprocessed_dialogs.h"
#include "up_down.h"
#include "window_place.h"

namespace orvalle::gui {
namespace {

const QString kCaption = QStringLiteral("Orvalle for JRA-VAN Data Lab.");
const QString kLoadingLine = QStringLiteral("レースデータを読み込んでいます。");

// Forwards the beeps of the results fetch, which come from the worker
// thread, to the window's thread.
class BeepingObserver final : public acquire::ResultsFetchObserver {
 public:
  void beep() override {
    QMetaObject::invokeMethod(
        qApp, [] { Notifier::instance().beep(); }, Qt::QueuedConnection);
  }
};

QToolButton* toolButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setStatusTip(hint);
  button->setToolTip(hint.isEmpty() ? caption : hint);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return button;
}

QTableView* gridTable(QWidget* parent, const QString& name, GridModel*& model, int rowHeight) {
  auto* table = new QTableView(parent);
  table->setObjectName(name);
  model = new GridModel(table);
  setUpGridView(table, model, 13, rowHeight);
  return table;
}

// A typed name as a caption of the clipboard text (CP932; a character CP932
// cannot hold becomes "?", as the copy only shows it).
std::string typedName(const QLineEdit* edit) { return cp932::fromUtf8(toUtf8(edit->text())); }

}  // namespace

MainWindow::MainWindow(app::Home home, QWidget* parent)
    : QMainWindow(parent),
      m_session(std::make_unique<app::DaySession>(std::move(home))),
      m_progress(new ProgressWindow(this)),
      m_runner(new CommandRunner(m_progress, this)) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(kCaption);
  m_runner->setHome(m_session->home());
  buildMenus();
  buildToolBar();
  // The window keeps the size the user gave it (630 x 450 at first) even
  // where its pages need more room: they scroll then.
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName(QStringLiteral("MainScroller"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setWidget(buildCentralArea());
  setCentralWidget(scroller);
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  connect(m_runner, &CommandRunner::busyChanged, this,
          [this](bool busy) { setCommandsEnabled(!busy); });
  applyStartSettings();
  makeDateList();
  clearRaceDisplay();
}

MainWindow::~MainWindow() { m_runner->abandon(); }

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file->setObjectName(QStringLiteral("FileMenu"));
  QAction* acquisition = file->addAction(QStringLiteral("JVデータ取得(&J)..."));
  acquisition->setObjectName(QStringLiteral("JVDataItem"));
  acquisition->setStatusTip(QStringLiteral("JV-Linkからデータを取り込みます"));
  connect(acquisition, &QAction::triggered, this, &MainWindow::openAcquisition);
  QAction* unprocessed = file->addAction(QStringLiteral("未処理データの読込(&R)"));
  unprocessed->setObjectName(QStringLiteral("N21"));
  unprocessed->setStatusTip(QStringLiteral("予想ファイル未作成の開催日をまとめて処理します"));
  connect(unprocessed, &QAction::triggered, this, &MainWindow::unprocessedData);
  file->addSeparator();
  QAction* print = file->addAction(QStringLiteral("印刷(&P)..."));
  print->setObjectName(QStringLiteral("FilePrintItem"));
  print->setStatusTip(QStringLiteral("全レースの分析結果を印刷します"));
  connect(print, &QAction::triggered, this, &MainWindow::openPrintPreview);
  QAction* printSetup = file->addAction(QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."));
  printSetup->setObjectName(QStringLiteral("FilePrintSetupItem"));
  printSetup->setStatusTip(QStringLiteral("プリンタの設定を行います"));
  connect(printSetup, &QAction::triggered, this, &MainWindow::setUpPrinter);
  QAction* pdf = file->addAction(QStringLiteral("PDFに保存(&D)..."));
  pdf->setObjectName(QStringLiteral("PdfExportItem"));
  pdf->setStatusTip(QStringLiteral("全レースの分析結果を1つのPDFファイルに保存します"));
  connect(pdf, &QAction::triggered, this, [this] {
    std::vector<output::SheetPage> pages;
    if (!analysisSheets(pages)) return;
    const QString path = saveSheetsPdf(this, pages, suggestedPdfPath());
    if (!path.isEmpty()) statusBar()->showMessage(QStringLiteral("保存しました: %1").arg(path));
  });
  file->addSeparator();
  QAction* exit = file->addAction(QStringLiteral("終了(&X)"));
  exit->setObjectName(QStringLiteral("ExitItem"));
  exit->setStatusTip(QStringLiteral("プログラムを終了します"));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* user = menuBar()->addMenu(QStringLiteral("ﾕｰｻﾞｰ指定(&U)"));
  user->setObjectName(QStringLiteral("UserMenu"));
  QAction* combinations = user->addAction(QStringLiteral("買い目設定(&K)"));
  combinations->setObjectName(QStringLiteral("S1"));
  combinations->setStatusTip(QStringLiteral("買い目のﾊﾟﾀｰﾝを設定します"));
  connect(combinations, &QAction::triggered, this, &MainWindow::editUserSettings);
  QAction* ceiling = user->addAction(QStringLiteral("予想ｵｯｽﾞｼｷｲ値設定(&O)"));
  ceiling->setObjectName(QStringLiteral("O1"));
  ceiling->setStatusTip(QStringLiteral("人気上位馬の逆順位を付ける際ｵｯｽﾞでの足切り値を指定します"));
  connect(ceiling, &QAction::triggered, this, [this] {
    OddsCeilingDialog dialog(m_session->home(), this);
    dialog.exec();
  });
  QAction* period = user->addAction(QStringLiteral("過去走データ利用範囲指定(&S)"));
  period->setObjectName(QStringLiteral("N6"));
  period->setStatusTip(QStringLiteral("能力比較に利用する過去走データの範囲を指定します"));
  connect(period, &QAction::triggered, this, [this] {
    PeriodDialog dialog(m_session->home(), this);
    dialog.exec();
  });
  QAction* oddsFolder = user->addAction(QStringLiteral("予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定(&Y)"));
  oddsFolder->setObjectName(QStringLiteral("Y1"));
  oddsFolder->setStatusTip(QStringLiteral("予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定をします"));
  connect(oddsFolder, &QAction::triggered, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("単勝予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定"), oddsFolderPath());
    if (!folder.isEmpty()) setOddsFolder(folder);
  });

  QMenu* options = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
  options->setObjectName(QStringLiteral("OptionMenu"));
  auto addOption = [&](const char* name, const QString& caption, const QString& hint,
                       const app::SettingKey& key) {
    QAction* action = options->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this,
            [this, action, &key](bool checked) { toggleOption(action, key, checked); });
    return action;
  };
  m_ignoreDates = addOption("N9", QStringLiteral("データ読込時過去走の日付を無視する(&I)"),
                            QStringLiteral("出馬表読込時過去走の日付を無視します"),
                            app::settings::kIgnorePastRunDates);
  m_compareAfterLoad = addOption("N19", QStringLiteral("データ読込後直ちに全レース比較を行う(&C)"),
                                 QStringLiteral("出馬表読込後直ちに全レース比較を行います"),
                                 app::settings::kCompareAfterLoading);
  m_closeRaceList =
      addOption("N5", QStringLiteral("読込後、ﾃﾞｰﾀﾘｽﾄを消す"),
                QStringLiteral("読込後、ﾃﾞｰﾀﾘｽﾄを消します"), app::settings::kCloseRaceList);

  QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  QAction* contents = help->addAction(QStringLiteral("目次(&C)"));
  contents->setObjectName(QStringLiteral("HelpContentsItem"));
  contents->setStatusTip(QStringLiteral("ヘルプの目次を表示します"));
  connect(contents, &QAction::triggered, this, &MainWindow::openHelp);
  QAction* about = help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  about->setObjectName(QStringLiteral("HelpAboutItem"));
  about->setStatusTip(QStringLiteral("バージョン情報を表示します"));
  connect(about, &QAction::triggered, this, &MainWindow::showAbout);
  m_commandWidgets << menuBar();
}

void MainWindow::buildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("ツールバー"));
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setMovable(false);

  bar->addWidget(new QLabel(QStringLiteral(" 開催日 "), bar));
  m_dateCombo = new QComboBox(bar);
  m_dateCombo->setObjectName(QStringLiteral("DateCombo"));
  m_dateCombo->setMaxVisibleItems(36);
  m_dateCombo->setMinimumContentsLength(12);
  m_dateCombo->setStatusTip(QStringLiteral("分析する開催日を選びます"));
  // A change of the day loads it, whether the user or a program chose it;
  // choosing the shown day again (activated without a change) loads it again.
  connect(m_dateCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_filling || index < 0) return;
    m_dayChanged = true;
    loadDay(m_dateCombo->itemText(index));
  });
  connect(m_dateCombo, &QComboBox::activated, this, [this](int index) {
    if (std::exchange(m_dayChanged, false) || m_filling || index < 0) return;
    loadDay(m_dateCombo->itemText(index));
  });
  bar->addWidget(m_dateCombo);

  QToolButton* listButton = toolButton(bar, QStringLiteral("SpeedButton8"), QStringLiteral("F"),
                                       QStringLiteral("レース一覧を表示または非表示にします"));
  connect(listButton, &QToolButton::clicked, this,
          [this] { m_raceListPanel->setVisible(!m_raceListPanel->isVisible()); });
  bar->addWidget(listButton);
  bar->addSeparator();

  QToolButton* acquire = toolButton(bar, QStringLiteral("JVBtn"), QStringLiteral("JVデータ取得"),
                                    QStringLiteral("JV-Linkからデータを取り込みます"));
  connect(acquire, &QToolButton::clicked, this, &MainWindow::openAcquisition);
  bar->addWidget(acquire);
  QToolButton* compare =
      toolButton(bar, QStringLiteral("CompareAllRaceBtn"), QStringLiteral("全ﾚｰｽ比較"),
                 QStringLiteral("全レースにわたって比較します"));
  connect(compare, &QToolButton::clicked, this, &MainWindow::compareAllRaces);
  bar->addWidget(compare);
  QToolButton* results = toolButton(bar, QStringLiteral("KekkaGetBtn"), QStringLiteral("結果情報"),
                                    QStringLiteral("レース結果の簡易表示窓を出します。"));
  connect(results, &QToolButton::clicked, this, &MainWindow::fetchResults);
  bar->addWidget(results);
  QToolButton* odds = toolButton(bar, QStringLiteral("TozBtn"), QStringLiteral("予想配当"),
                                 QStringLiteral("単勝予想配当ﾃﾞｰﾀを読み込みます"));
  connect(odds, &QToolButton::clicked, this, &MainWindow::chooseOddsArchive);
  bar->addWidget(odds);
  bar->addSeparator();

  QToolButton* help = toolButton(bar, QStringLiteral("HelpBtn"), QStringLiteral("ﾍﾙﾌﾟ"),
                                 QStringLiteral("ヘルプの目次を表示します"));
  connect(help, &QToolButton::clicked, this, &MainWindow::openHelp);
  bar->addWidget(help);
  QToolButton* about = toolButton(bar, QStringLiteral("AboutBtn"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"),
                                  QStringLiteral("バージョン情報を表示します"));
  connect(about, &QToolButton::clicked, this, &MainWindow::showAbout);
  bar->addWidget(about);
  QToolButton* exit = toolButton(bar, QStringLiteral("ExitBtn"), QStringLiteral("終了"),
                                 QStringLiteral("プログラムを終了します"));
  connect(exit, &QToolButton::clicked, this, &QWidget::close);
  bar->addWidget(exit);
  m_commandWidgets << m_dateCombo << listButton << acquire << compare << results << odds;
}

QWidget* MainWindow::buildCentralArea() {
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName(QStringLiteral("MainSplitter"));

  m_raceListPanel = new QWidget(splitter);
  auto* listLayout = new QVBoxLayout(m_raceListPanel);
  listLayout->setContentsMargins(2, 2, 2, 2);
  m_raceList = new QListWidget(m_raceListPanel);
  m_raceList->setObjectName(QStringLiteral("DatList"));
  m_raceList->setFont(fixedPitchFont(13));
  m_raceList->setStatusTip(QStringLiteral("表示するレースを選びます"));
  connect(m_raceList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!m_filling && row >= 0) selectRace(row);
  });
  m_upDown = new UpDown(m_raceListPanel);
  m_upDown->setObjectName(QStringLiteral("UpDown1"));
  connect(m_upDown, &UpDown::clicked, this, &MainWindow::selectRace);
  listLayout->addWidget(m_raceList, 1);
  listLayout->addWidget(m_upDown, 0, Qt::AlignHCenter);
  m_raceListPanel->setMinimumWidth(
      QFontMetrics(m_raceList->font()).horizontalAdvance(QStringLiteral("中山  05回 08日11R")) +
      scaled(this, 30));

  m_analysisArea = new QWidget(splitter);
  m_analysisArea->setObjectName(QStringLiteral("PageControl1"));
  auto* areaLayout = new QVBoxLayout(m_analysisArea);
  areaLayout->setContentsMargins(2, 2, 2, 2);
  areaLayout->addWidget(buildHeaderPanel());

  m_pages = new QTabWidget(m_analysisArea);
  m_pages->setObjectName(QStringLiteral("PageControl2"));
  m_pages->addTab(buildRaceCardPage(), QStringLiteral("出馬表"));
  m_detailedView = new QTableView(m_pages);
  m_detailedView->setObjectName(QStringLiteral("StringGrid5"));
  m_detailedModel = new DetailedCardModel(m_detailedView);
  setUpDetailedCardView(m_detailedView, m_detailedModel);
  m_pages->addTab(m_detailedView, QStringLiteral("出馬表(詳細)"));
  m_pages->addTab(buildAnalysisPage(), QStringLiteral("分析表"));
  m_combinationTab = new CombinationTab(m_pages);
  m_pages->addTab(m_combinationTab, QStringLiteral("買い目"));
  m_resultsPanel = new ResultsPanelWidget(m_pages);
  m_pages->addTab(m_resultsPanel, QStringLiteral("ﾚｰｽ結果"));
  areaLayout->addWidget(m_pages, 1);

  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  m_commandWidgets << m_raceListPanel << m_analysisArea;
  return splitter;
}

QWidget* MainWindow::buildHeaderPanel() {
  auto* panel = new QWidget(m_analysisArea);
  panel->setObjectName(QStringLiteral("HeaderPanel"));
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setVerticalSpacing(0);
  for (int i = 0; i < model::kRaceHeaderLines; ++i) {
    auto* label = new QLabel(panel);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    label->setFont(fixedPitchFont(13, i < 2));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_headerLabels[static_cast<size_t>(i)] = label;
    layout->addWidget(label, i, 0, 1, 1);
  }
  auto* hits = new QHBoxLayout;
  m_hitButton = toolButton(panel, QStringLiteral("TekiAnaBtn"), QStringLiteral("的中"),
                           QStringLiteral("的中レポートを作成します"));
  m_longShotButton = toolButton(panel, QStringLiteral("TekiAnaBtn2"), QStringLiteral("穴的中"),
                                QStringLiteral("穴的中レポートを作成します"));
  connect(m_hitButton, &QToolButton::clicked, this,
          [this] { writeHitReport(output::HitReportKind::kFull); });
  connect(m_longShotButton, &QToolButton::clicked, this,
          [this] { writeHitReport(output::HitReportKind::kLongShot); });
  hits->addWidget(m_hitButton);
  hits->addWidget(m_longShotButton);
  layout->addLayout(hits, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignTop);

  // The two horses of the comparisons, picked on the race card or typed.
  auto* pick = new QHBoxLayout;
  m_edit1 = new QLineEdit(panel);
  m_edit1->setObjectName(QStringLiteral("Edit1"));
  m_edit2 = new QLineEdit(panel);
  m_edit2->setObjectName(QStringLiteral("Edit2"));
  m_weightA = new QLabel(panel);
  m_weightA->setObjectName(QStringLiteral("kinryoAlabel"));
  m_weightB = new QLabel(panel);
  m_weightB->setObjectName(QStringLiteral("kinryoBlabel"));
  for (QLabel* weight : {m_weightA, m_weightB}) {
    weight->setMinimumWidth(scaled(weight, 36));
    weight->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  for (QLineEdit* edit : {m_edit1, m_edit2}) {
    edit->setFont(fixedPitchFont(13));
    edit->setMinimumWidth(scaled(edit, 130));
  }
  QToolButton* clear = toolButton(panel, QStringLiteral("SpeedButton12"), QStringLiteral("クリア"),
                                  QStringLiteral("比較する２頭の馬名を消します"));
  connect(clear, &QToolButton::clicked, this, &MainWindow::clearPick);
  QToolButton* compare =
      toolButton(panel, QStringLiteral("Search2Btn"), QStringLiteral("２頭の比較"),
                 QStringLiteral("指定した２頭の比較を行います"));
  connect(compare, &QToolButton::clicked, this, [this] { compareTwoHorses(false); });
  QToolButton* direct =
      toolButton(panel, QStringLiteral("Search2DirectBtn"), QStringLiteral("直接対決の比較"),
                 QStringLiteral("指定された２頭の直接対決を比較します"));
  connect(direct, &QToolButton::clicked, this, [this] { compareTwoHorses(true); });
  pick->addWidget(new QLabel(QStringLiteral("馬A"), panel));
  pick->addWidget(m_edit1);
  pick->addWidget(m_weightA);
  pick->addWidget(new QLabel(QStringLiteral("馬B"), panel));
  pick->addWidget(m_edit2);
  pick->addWidget(m_weightB);
  pick->addWidget(clear);
  pick->addWidget(compare);
  pick->addWidget(direct);
  pick->addStretch(1);
  layout->addLayout(pick, model::kRaceHeaderLines, 0, 1, 2);
  layout->setColumnStretch(0, 1);
  return panel;
}

QWidget* MainWindow::buildRaceCardPage() {
  auto* page = new QWidget(m_pages);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);

  auto* sortGroup = new QGroupBox(QStringLiteral("並べ替え"), page);
  sortGroup->setObjectName(QStringLiteral("SortGroup"));
  auto* sortLayout = new QHBoxLayout(sortGroup);
  sortLayout->setContentsMargins(4, 2, 4, 2);
  m_sortButtons = new QButtonGroup(page);
  m_sortButtons->setExclusive(true);
  static const std::array<const char*, 9> kButtonNames = {
      "SpeedButton14", "SpeedButton15", "SpeedButton17", "SpeedButton18", "SpeedButton20",
      "SpeedButton31", "SpeedButton32", "SpeedButton33", "SpeedButton16"};
  for (size_t i = 0; i < model::kRaceCardSorts.size(); ++i) {
    const model::RaceCardSort sort = model::kRaceCardSorts[i];
    auto* button = new QToolButton(sortGroup);
    button->setObjectName(QString::fromLatin1(kButtonNames[i]));
    button->setText(fromCp932(model::raceCardSortCaption(sort)));
    button->setCheckable(true);
    button->setChecked(sort == m_sort);
    button->setStatusTip(QStringLiteral("出馬表を「%1」の順に並べ替えます").arg(button->text()));
    m_sortButtons->addButton(button, static_cast<int>(i));
    sortLayout->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, sort] { sortRaceCard(sort); });
  }
  sortLayout->addStretch(1);
  layout->addWidget(sortGroup);

  m_raceCardView = gridTable(page, QStringLiteral("StringGrid4"), m_raceCardModel, 14);
  m_raceCardView->setStatusTip(QStringLiteral("クリックで比較する馬を選びます"));
  m_raceCardView->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(QStringLiteral("出馬表をｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ(&C)"), m_raceCardView);
  copy->setObjectName(QStringLiteral("CopyRaceCardItem"));
  connect(copy, &QAction::triggered, this, &MainWindow::copyRaceCard);
  m_raceCardView->addAction(copy);
  connect(m_raceCardView, &QTableView::clicked, this,
          [this](const QModelIndex& index) { pickRaceCardRow(index.row()); });
  layout->addWidget(m_raceCardView, 1);
  return page;
}

QWidget* MainWindow::buildAnalysisPage() {
  auto* page = new QWidget(m_pages);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);

  auto* top = new QHBoxLayout;
  auto* caption = new QLabel(QStringLiteral("能力\n比較"), page);
  caption->setObjectName(QStringLiteral("AbilityCaption"));
  top->addWidget(caption);
  static const std::array<std::pair<const char*, const char*>, 4> kPointLabels = {
      {{"pt1Label", "馬A優位"},
       {"pt2Label", "馬B優位"},
       {"dpt1Label", "馬A独－"},
       {"dpt2Label", "馬B独－"}}};
  for (size_t i = 0; i < kPointLabels.size(); ++i) {
    top->addWidget(new QLabel(QString::fromUtf8(kPointLabels[i].second), page));
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(kPointLabels[i].first));
    label->setFont(fixedPitchFont(13, true));
    label->setMinimumWidth(scaled(label, 30));
    m_pointLabels[i] = label;
    top->addWidget(label);
  }
  m_countLabel = new QLabel(page);
  m_countLabel->setObjectName(QStringLiteral("CtLabel"));
  top->addWidget(m_countLabel);
  top->addStretch(1);
  QToolButton* printButton =
      toolButton(page, QStringLiteral("SpeedButton13"), QStringLiteral("印刷"),
                 QStringLiteral("２頭比較の結果を印刷します"));
  connect(printButton, &QToolButton::clicked, this, &MainWindow::printComparisonGrid);
  top->addWidget(printButton);
  layout->addLayout(top);
  m_summaryLabel = new QLabel(page);
  m_summaryLabel->setObjectName(QStringLiteral("ShukeiLabel"));
  layout->addWidget(m_summaryLabel);

  m_analysisTabs = new QTabWidget(page);
  m_analysisTabs->setObjectName(QStringLiteral("PageControl3"));
  auto addGrid = [&](const QString& name, GridModel*& model, const QString& title,
                     const char* copyName, const QString& copyCaption) {
    QTableView* table = gridTable(m_analysisTabs, name, model, 18);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(copyCaption, table);
    copy->setObjectName(QString::fromLatin1(copyName));
    connect(copy, &QAction::triggered, this, [this, table] { copyComparisonGrid(table); });
    table->addAction(copy);
    m_analysisTabs->addTab(table, title);
    return table;
  };
  m_grid6 = addGrid(QStringLiteral("StringGrid6"), m_grid6Model, QStringLiteral("２頭比較"),
                    "MenuItem3", QStringLiteral("比較結果をｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ(&C)"));
  auto* printGridItem = new QAction(QStringLiteral("比較結果を印刷(&P)"), m_grid6);
  printGridItem->setObjectName(QStringLiteral("N20"));
  connect(printGridItem, &QAction::triggered, this, &MainWindow::printComparisonGrid);
  m_grid6->addAction(printGridItem);
  m_grid7 = addGrid(QStringLiteral("StringGrid7"), m_grid7Model, QStringLiteral("比較詳細表"),
                    "MenuItem5", QStringLiteral("比較詳細表をｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ(&C)"));
  m_grid8 = addGrid(QStringLiteral("StringGrid8"), m_grid8Model, QStringLiteral("比較勝敗表"),
                    "MenuItem4", QStringLiteral("比較詳細表をｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ(&C)"));
  m_grid6->setSelectionMode(QAbstractItemView::NoSelection);
  m_grid8->setSelectionMode(QAbstractItemView::NoSelection);
  model::GridView empty = analysis::grid6::emptyGrid();
  m_grid6Model->setView(empty);
  applyColumnWidths(m_grid6, empty);
  layout->addWidget(m_analysisTabs, 1);
  return page;
}

void MainWindow::applyStartSettings() {
  app::Settings& settings = m_session->settings();
  try {
    restoreWindowPlace(*this, settings, kMainWindowPlace);
    m_ignoreDates->setChecked(settings.boolean(app::settings::kIgnorePastRunDates));
    m_compareAfterLoad->setChecked(settings.boolean(app::settings::kCompareAfterLoading));
    m_closeRaceList->setChecked(settings.boolean(app::settings::kCloseRaceList));
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
  const bool hitReportMode = m_session->home().hitReportMode();
  m_hitButton->setVisible(hitReportMode);
  m_longShotButton->setVisible(hitReportMode);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  m_runner->abandon();
  saveWindowPlace(*this, m_session->home(), kMainWindowPlace);
  event->accept();
}

void MainWindow::openAcquisition() {
  if (m_runner->busy()) return;
  AcquisitionDialog* dialog = nullptr;
  try {
    dialog = new AcquisitionDialog(m_session->home(), this);
  } catch (const std::exception& error) {  // the settings file could not be read
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    return;
  }
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::ApplicationModal);
  // The transfer may have added days.
  connect(dialog, &QDialog::finished, this, [this] { makeDateList(); });
  dialog->show();
}

void MainWindow::setCommandsEnabled(bool enabled) {
  for (QWidget* widget : m_commandWidgets) widget->setEnabled(enabled);
  for (QToolButton* button : {m_hitButton, m_longShotButton}) button->setEnabled(enabled);
}

void MainWindow::makeDateList() {
  m_filling = true;
  m_dateCombo->clear();
  m_raceList->clear();
  try {
    for (const std::string& day : m_session->dateList()) m_dateCombo->addItem(fromUtf8(day));
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
  m_dateCombo->setCurrentIndex(-1);
  m_filling = false;
}

bool MainWindow::chooseDay(const QString& stem) {
  const int index = m_dateCombo->findText(stem);
  if (index < 0) return false;
  if (index == m_dateCombo->currentIndex()) {
    loadDay(stem);
  } else {
    m_dateCombo->setCurrentIndex(index);
    m_dayChanged = false;
  }
  return true;
}

void MainWindow::loadDay(const QString& stem) {
  if (m_runner->busy()) return;
  clearRaceDisplay();
  m_combinationTab->clear();
  m_filling = true;
  m_raceList->clear();
  m_filling = false;
  const std::string day = toUtf8(stem);
  app::DaySession* session = m_session.get();
  m_runner->start(
      stem, kLoadingLine,
      [session, day](const ProgressCallback& progress, const CancelFlag& cancel) {
        return session->loadDay(day, app::AfterLoading::kAsSettings, progress, &cancel);
      },
      [this](const app::CommandResult& result) {
        showRaceList();
        if (!m_session->raceList().empty()) {
          selectRace(0);
          if (m_closeRaceList->isChecked()) m_raceListPanel->hide();
        }
        showNotices(result);
      });
}

void MainWindow::showRaceList() {
  m_filling = true;
  m_raceList->clear();
  for (const model::RaceListEntry& entry : m_session->raceList()) {
    m_raceList->addItem(fromCp932(entry.line));
  }
  m_filling = false;
  const int lines = m_raceList->count();
  m_upDown->setMaximum(lines > 0 ? lines - 1 : 0);
  m_upDown->setPosition(0);
}

void MainWindow::clearRaceDisplay() {
  m_raceShown = false;
  m_analysisArea->hide();
  for (QLabel* label : m_headerLabels) label->clear();
  m_card = model::RaceCard{};
  m_raceCardModel->setView(model::raceCardGrid({}));
  applyColumnWidths(m_raceCardView, m_raceCardModel->view());
  m_detailedModel->clear();
  m_resultsPanel->clear();
}

void MainWindow::selectRace(int line) {
  const int slot = m_session->raceSlotOfLine(line);
  if (slot < 0 || m_runner->busy()) return;
  m_filling = true;
  m_raceList->setCurrentRow(line);
  m_filling = false;
  m_upDown->setPosition(line);

  if (!m_session->selectRace(line)) return;
  const model::DayTables& tables = m_session->tables();
  try {
    m_card = model::raceCard(tables, slot, m_sort);
    for (size_t i = 0; i < m_headerLabels.size(); ++i) {
      m_headerLabels[i]->setText(fromCp932(m_card.header[i]));
    }
    showRaceCardRows();
    m_detailedModel->showRace(&tables, slot, static_cast<int>(m_card.rows.size()));
    model::GridView detail = analysis::comparisonDetailGrid(tables, slot);
    m_grid7Model->setView(detail);
    applyColumnWidths(m_grid7, detail);
    model::GridView matrix = analysis::comparisonResultGrid(tables, slot);
    m_grid8Model->setView(matrix);
    applyColumnWidths(m_grid8, matrix);
    m_session->clearPicks();
    m_edit1->clear();
    m_edit2->clear();
    m_summaryLabel->setText(fromCp932(m_card.comparedMessage));
    m_combinationTab->showRace(tables, slot);
    m_resultsPanel->showPayouts(tables.analysis(slot).result.payouts);
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    return;
  }
  m_raceShown = true;
  m_analysisArea->show();
}

void MainWindow::showRaceCardRows() {
  model::GridView view = model::raceCardGrid(m_card.rows);
  m_raceCardModel->setView(std::move(view));
  applyColumnWidths(m_raceCardView, m_raceCardModel->view());
}

void MainWindow::sortRaceCard(model::RaceCardSort sort) {
  m_sort = sort;
  if (!m_raceShown) return;
  model::sortRaceCard(m_card.rows, sort);
  showRaceCardRows();
}

void MainWindow::pickRaceCardRow(int row) {
  if (!m_raceShown || row < 0 || row >= static_cast<int>(m_card.rows.size())) return;
  const app::CommandResult picked =
      m_session->pickRunner(m_card.rows[static_cast<size_t>(row)].runnerSlot);
  if (!picked) {
    showNotices(picked);
    return;
  }
  const model::ComparisonPicker& picker = m_session->picker();
  m_edit1->setText(fromCp932(picker.edit1()));
  m_edit2->setText(fromCp932(picker.edit2()));
  m_weightA->setText(fromCp932(picker.weightA()));
  m_weightB->setText(fromCp932(picker.weightB()));
}

void MainWindow::clearPick() {
  m_session->clearPicks();
  m_edit1->clear();
  m_edit2->clear();
  m_pages->setCurrentIndex(0);
}

void MainWindow::compareTwoHorses(bool headToHead) {
  if (!m_raceShown) return;
  app::ComparisonOutcome outcome;
  try {
    outcome = m_session->compareHorses(
        headToHead ? app::ComparisonKind::kHeadToHead : app::ComparisonKind::kTwoHorses,
        toUtf8(m_edit1->text()), toUtf8(m_edit2->text()));
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    return;
  }
  if (!outcome.result) {
    showNotices(outcome.result);
    return;
  }
  if (outcome.countLabel) m_countLabel->setText(fromCp932(*outcome.countLabel));
  if (outcome.pointLabels) {
    for (size_t i = 0; i < m_pointLabels.size(); ++i) {
      m_pointLabels[i]->setText(fromCp932((*outcome.pointLabels)[i]));
    }
  }
  m_grid6Model->setView(std::move(outcome.grid));
  applyColumnWidths(m_grid6, m_grid6Model->view());
  m_pages->setCurrentIndex(2);
  m_analysisTabs->setCurrentIndex(0);
}

std::array<std::string, model::kRaceHeaderLines> MainWindow::headerCaptions() const {
  return m_card.header;
}

void MainWindow::copyRaceCard() {
  if (!m_raceShown) return;
  QApplication::clipboard()->setText(fromCp932(model::raceCardClipboardText(m_card)));
}

void MainWindow::copyComparisonGrid(QTableView* table) {
  std::vector<std::string> captions(m_card.header.begin(), m_card.header.end());
  if (table == m_grid6) {
    captions.push_back(typedName(m_edit1));
    captions.push_back(typedName(m_edit2));
    const analysis::ClipboardCopy copy =
        analysis::grid6::clipboardCopy(captions, m_grid6Model->view());
    if (!copy.status) {
      Notifier::instance().inform(this, fromUtf8(copy.status.message()), true);
      return;
    }
    QApplication::clipboard()->setText(fromCp932(copy.text));
    return;
  }
  if (!m_raceShown) return;
  const auto* gridModel = qobject_cast<const GridModel*>(table->model());
  QApplication::clipboard()->setText(fromCp932(model::clipboardText(captions, gridModel->view())));
}

bool MainWindow::analysisSheets(std::vector<output::SheetPage>& pages) {
  try {
    const app::CommandResult result = m_session->analysisSheets(pages);
    showNotices(result);
    return result.ok();
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    return false;
  }
}

QString MainWindow::suggestedPdfPath() const {
  const QString day = fromUtf8(m_session->loadedDay());
  return QDir(QString::fromStdString(m_session->home().root().string()))
      .filePath(day.isEmpty() ? QStringLiteral("orvalle.pdf") : day + QStringLiteral(".pdf"));
}

std::unique_ptr<PrintPreviewDialog> MainWindow::makePrintPreview() {
  std::vector<output::SheetPage> pages;
  if (!analysisSheets(pages)) return nullptr;
  return std::make_unique<PrintPreviewDialog>(std::move(pages), m_session->home(),
                                              suggestedPdfPath(), this);
}

void MainWindow::openPrintPreview() {
  if (m_runner->busy()) return;
  if (std::unique_ptr<PrintPreviewDialog> preview = makePrintPreview()) preview->exec();
}

bool MainWindow::exportSheetsPdf(const QString& path) {
  std::vector<output::SheetPage> pages;
  if (!analysisSheets(pages)) return false;
  const QString error = writeSheetsPdf(pages, path);
  if (error.isEmpty()) return true;
  Notifier::instance().inform(this, error, true);
  return false;
}

void MainWindow::setUpPrinter() {
  if (!PrinterAccess::instance().hasPrinter()) {
    Notifier::instance().inform(this, QString::fromUtf8(kNoPrinterMessage), true);
    return;
  }
  PrinterAccess::instance().setUp(this, PrinterAccess::printer());
}

void MainWindow::printComparisonGrid() {
  const model::GridView& grid = m_grid6Model->view();
  if (const Status shown = analysis::grid6::comparisonShown(grid); !shown) {
    Notifier::instance().inform(this, fromUtf8(shown.message()), true);
    return;
  }
  PrinterAccess& access = PrinterAccess::instance();
  if (!access.hasPrinter()) {
    Notifier::instance().inform(this, QString::fromUtf8(kNoPrinterMessage), true);
    return;
  }
  QPrinter& printer = PrinterAccess::printer();
  printer.setPrintRange(QPrinter::AllPages);
  printer.setPageOrientation(QPageLayout::Landscape);
  if (!access.confirmPrint(this, printer, 0)) {
    printer.setPageOrientation(QPageLayout::Portrait);
    return;
  }
  const QString heading = m_edit1->text() + QStringLiteral(" vs ") + m_edit2->text();
  const QString error = printGrid(printer, grid, heading, QStringLiteral("２頭比較"));
  if (!error.isEmpty()) Notifier::instance().inform(this, error, true);
}

void MainWindow::compareAllRaces() {
  app::DaySession* session = m_session.get();
  if (session->raceList().empty()) {
    showNotices(session->compareAllRaces());
    return;
  }
  const int line = m_raceList->currentRow();
  m_runner->start(
      QStringLiteral("【解析中】しばらくお待ちください"), QString(),
      [session](const ProgressCallback& progress, const CancelFlag& cancel) {
        return session->compareAllRaces(progress, &cancel);
      },
      [this, line](const app::CommandResult& result) {
        selectRace(std::max(line, 0));
        showNotices(result);
      });
}

void MainWindow::fetchResults() {
  if (m_raceList->currentRow() < 0 || m_dateCombo->currentIndex() < 0) return;
  app::DaySession* session = m_session.get();
  auto outcome = std::make_shared<app::ResultsOutcome>();
  const int line = m_raceList->currentRow();
  m_runner->start(
      QStringLiteral("結果情報"), QStringLiteral("レース結果を取得しています。"),
      [session, outcome](const ProgressCallback& progress, const CancelFlag& cancel) {
        BeepingObserver observer;
        *outcome = session->fetchResults(std::string_view(), observer, progress, &cancel);
        return outcome->result;
      },
      [this, outcome, line](const app::CommandResult& result) {
        selectRace(std::max(line, 0));
        showNotices(result);
      });
}

void MainWindow::writeHitReport(output::HitReportKind kind) {
  if (m_session->raceList().empty()) return;
  app::DaySession* session = m_session.get();
  auto outcome = std::make_shared<app::HitReportOutcome>();
  m_runner->start(
      kind == output::HitReportKind::kFull ? QStringLiteral("的中") : QStringLiteral("穴的中"),
      QStringLiteral("的中レポートを作成しています。"),
      [session, outcome, kind](const ProgressCallback& progress, const CancelFlag& cancel) {
        *outcome = session->writeHitReport(kind, progress, &cancel);
        return outcome->result;
      },
      [this, outcome](const app::CommandResult& result) {
        selectRace(m_raceList->count() - 1);
        if (!result) {
          showNotices(result);
          return;
        }
        if (!outcome->files.written) {
          statusBar()->showMessage(
              QStringLiteral("的中が２件未満のため、的中レポートは作成しませんでした。"), 8000);
          return;
        }
        QApplication::clipboard()->setText(fromCp932(outcome->report.text()));
        Notifier::instance().openDocument(
            QString::fromStdString(outcome->files.fragmentPath.string()));
      });
}

void MainWindow::unprocessedData() {
  const app::CommandResult options = m_session->checkUnprocessedOptions();
  if (!options) {
    showNotices(options);
    return;
  }
  UnprocessedYearDialog dialog(*m_session, QDate::currentDate().year(), this);
  if (dialog.exec() == QDialog::Accepted) processDays(dialog.days());
}

void MainWindow::processDays(const std::vector<std::string>& days) {
  app::DaySession* session = m_session.get();
  m_runner->start(
      QStringLiteral("未読込データ処理"), kLoadingLine,
      [session, days](const ProgressCallback& progress, const CancelFlag& cancel) {
        return session->processDays(days, progress, &cancel);
      },
      [this](const app::CommandResult& result) {
        // The last day processed stays loaded.
        m_filling = true;
        m_dateCombo->setCurrentIndex(m_dateCombo->findText(fromUtf8(m_session->loadedDay())));
        m_filling = false;
        showRaceList();
        if (!m_session->raceList().empty()) selectRace(0);
        showNotices(result);
      });
}

QString MainWindow::oddsFolderPath() const {
  const std::string stored = m_session->settings().text(app::settings::kOddsFolder);
  if (!stored.empty()) return fromCp932(stored);
  return QString::fromStdString(m_session->home().lzhFolder().string());
}

void MainWindow::setOddsFolder(const QString& folder) {
  const app::Input value = app::cp932Input(toUtf8(folder));
  try {
    if (!value) throw Error(value.status.message());
    app::withHomeWriteLock(m_session->home(), [&] {
      m_session->settings().setText(app::settings::kOddsFolder, value.value);
    });
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

void MainWindow::chooseOddsArchive() {
  const QString archive = QFileDialog::getOpenFileName(
      this, QStringLiteral("予想配当データの選択"), oddsFolderPath(),
      QStringLiteral("KOLｵｯｽﾞ（j*.lzh）,JRDBｵｯｽﾞ(OZ*.lzh) (j*.lzh OZ*.lzh)"));
  if (!archive.isEmpty()) importPredictedOdds(archive);
}

void MainWindow::importPredictedOdds(const QString& archive) {
  app::DaySession* session = m_session.get();
  const std::filesystem::path path = archive.toStdString();
  m_runner->start(
      QStringLiteral("予想配当"), QStringLiteral("予想配当データを読み込んでいます。"),
      [session, path](const ProgressCallback&, const CancelFlag&) {
        return session->importPredictedOdds(path);
      },
      [this](const app::CommandResult& result) {
        showNotices(result);
        // The loaded day shows the new odds at once.
        if (result && !m_session->loadedDay().empty()) {
          chooseDay(fromUtf8(m_session->loadedDay()));
        }
      },
      /*cancellable=*/false);
}

void MainWindow::editUserSettings() {
  try {
    UserSettingsDialog dialog(m_session->home(), this);
    dialog.exec();
    // The chosen setting takes effect at once on the loaded day.
    if (!m_session->raceList().empty()) {
      m_session->calculateCombinations();
      selectRace(std::max(m_raceList->currentRow(), 0));
    }
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

void MainWindow::toggleOption(QAction* action, const app::SettingKey& key, bool checked) {
  try {
    app::withHomeWriteLock(m_session->home(),
                           [&] { m_session->settings().setBoolean(key, checked); });
  } catch (const Error& error) {
    action->setChecked(!checked);
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

void MainWindow::openHelp() {
  const QString index = manualIndexPath();
  if (index.isEmpty()) {
    Notifier::instance().inform(
        this, QStringLiteral("ヘルプが見つかりません: %1").arg(manualCandidates().join(u'\n')),
        true);
  } else if (!Notifier::instance().openDocument(index)) {
    Notifier::instance().inform(this, QStringLiteral("ヘルプを開けませんでした: %1").arg(index),
                                true);
  }
}

void MainWindow::showAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

void MainWindow::showNotices(const app::CommandResult& result) { gui::showNotices(this, result); }

}  // namespace orvalle::gui
