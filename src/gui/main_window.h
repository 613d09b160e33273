#pragma once

#include <QMainWindow>

#include <array>
#include <memory>
#include <vector>

#include "app/day_session.h"
#include "model/race_card.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTableView;
class QToolButton;

namespace orvalle::gui {

class CombinationTab;
class CommandRunner;
class DetailedCardModel;
class GridModel;
class PrintPreviewDialog;
class ProgressWindow;
class ResultsPanelWidget;
class UpDown;

// The main window "Orvalle for JRA-VAN Data Lab.": the date list and the
// race list, the race header, the race card and the detailed race card, the
// comparisons, the combinations and the results of the chosen race, with the
// menus and the tool bar of the program's commands. It is a shell over
// app::DaySession: long commands run on a worker thread through the command
// runner, whose progress window shows them; every message goes through the
// notifier.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // A window on the home `home` (started up: folders and UserSet.usd exist).
  explicit MainWindow(app::Home home, QWidget* parent = nullptr);
  ~MainWindow() override;

  app::DaySession& session() { return *m_session; }
  CommandRunner& runner() { return *m_runner; }
  ProgressWindow& progressWindow() { return *m_progress; }

  // Rebuilds the date list (MakeDataListBtn): the days with an RA day file,
  // newest first; nothing is chosen.
  void makeDateList();
  // Chooses a day of the date list (as a pick in DateCombo) and loads it.
  // False when the list has no such day.
  bool chooseDay(const QString& stem);
  // Selects race-list line `line` and shows that race (DatListClick).
  void selectRace(int line);
  // Imports a predicted-odds archive (the button "予想配当" after its file
  // dialog) and, on success, loads the loaded day again so that its odds
  // show at once.
  void importPredictedOdds(const QString& archive);
  // Loads and compares each of `days` (newest first), the oldest first, with
  // progress and cancel: the unprocessed days chosen in their dialogs.
  void processDays(const std::vector<std::string>& days);
  // Stores the folder the archive dialog opens in ("Dir"/"yoso"; the menu
  // item "予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定" after its folder dialog), under the home's
  // lock; while another program holds the home it says so and stores nothing.
  void setOddsFolder(const QString& folder);
  // Opens the acquisition dialog (JVBtn) modally; the date list is rebuilt
  // when it closes. Nothing happens while a command runs.
  void openAcquisition();

  // "印刷(&P)...": the preview of the loaded day's analysis sheets, shown
  // modally; makePrintPreview builds it (nullptr after the message when no
  // day is loaded).
  void openPrintPreview();
  std::unique_ptr<PrintPreviewDialog> makePrintPreview();
  // Writes the loaded day's analysis sheets to the PDF file `path`; false
  // after its message when there is nothing to write or it failed.
  bool exportSheetsPdf(const QString& path);
  // "印刷" and "比較結果を印刷(&P)": the two-horse comparison grid on
  // landscape pages, the two names atop every page.
  void printComparisonGrid();
  // "ﾌﾟﾘﾝﾀの設定(&R)...".
  void setUpPrinter();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool analysisSheets(std::vector<output::SheetPage>& pages);
  QString suggestedPdfPath() const;
  void buildMenus();
  void buildToolBar();
  QWidget* buildCentralArea();
  QWidget* buildHeaderPanel();
  QWidget* buildRaceCardPage();
  QWidget* buildAnalysisPage();
  void applyStartSettings();
  void setCommandsEnabled(bool enabled);

  void loadDay(const QString& stem);
  void compareAllRaces();
  void fetchResults();
  void writeHitReport(output::HitReportKind kind);
  void unprocessedData();
  void compareTwoHorses(bool headToHead);
  void clearPick();
  void pickRaceCardRow(int row);
  void sortRaceCard(model::RaceCardSort sort);
  void showRaceCardRows();
  void copyRaceCard();
  void copyComparisonGrid(QTableView* table);
  void editUserSettings();
  void chooseOddsArchive();
  QString oddsFolderPath() const;
  void toggleOption(QAction* action, const app::SettingKey& key, bool checked);
  void openHelp();
  void showAbout();
  void showNotices(const app::CommandResult& result);
  void showRaceList();
  void clearRaceDisplay();
  std::array<std::string, model::kRaceHeaderLines> headerCaptions() const;

  std::unique_ptr<app::DaySession> m_session;
  ProgressWindow* m_progress;
  CommandRunner* m_runner;

  QAction* m_ignoreDates = nullptr;       // N9
  QAction* m_compareAfterLoad = nullptr;  // N19
  QAction* m_closeRaceList = nullptr;     // N5
  QComboBox* m_dateCombo = nullptr;       // DateCombo
  QListWidget* m_raceList = nullptr;      // DatList
  UpDown* m_upDown = nullptr;             // UpDown1
  QWidget* m_raceListPanel = nullptr;
  QWidget* m_analysisArea = nullptr;  // the outer page "出馬表読込"
  QTabWidget* m_pages = nullptr;      // PageControl2
  std::array<QLabel*, model::kRaceHeaderLines> m_headerLabels{};  // Label1..Label4
  QToolButton* m_hitButton = nullptr;                             // TekiAnaBtn
  QToolButton* m_longShotButton = nullptr;                        // TekiAnaBtn2
  QLineEdit* m_edit1 = nullptr;
  QLineEdit* m_edit2 = nullptr;
  QLabel* m_weightA = nullptr;  // kinryoAlabel
  QLabel* m_weightB = nullptr;  // kinryoBlabel
  QButtonGroup* m_sortButtons = nullptr;
  QTableView* m_raceCardView = nullptr;  // StringGrid4
  GridModel* m_raceCardModel = nullptr;
  QTableView* m_detailedView = nullptr;  // StringGrid5
  DetailedCardModel* m_detailedModel = nullptr;
  QTabWidget* m_analysisTabs = nullptr;  // PageControl3
  QTableView* m_grid6 = nullptr;
  GridModel* m_grid6Model = nullptr;
  QTableView* m_grid7 = nullptr;
  GridModel* m_grid7Model = nullptr;
  QTableView* m_grid8 = nullptr;
  GridModel* m_grid8Model = nullptr;
  QLabel* m_countLabel = nullptr;          // CtLabel
  std::array<QLabel*, 4> m_pointLabels{};  // pt1Label, pt2Label, dpt1Label, dpt2Label
  QLabel* m_summaryLabel = nullptr;        // ShukeiLabel
  CombinationTab* m_combinationTab = nullptr;
  ResultsPanelWidget* m_resultsPanel = nullptr;
  QList<QWidget*> m_commandWidgets;

  model::RaceCardSort m_sort = model::RaceCardSort::kHorseNumber;
  model::RaceCard m_card;
  bool m_raceShown = false;
  bool m_filling = false;
  bool m_dayChanged = false;  // the date list's day changed before its activation
};

}  // namespace orvalle::gui
