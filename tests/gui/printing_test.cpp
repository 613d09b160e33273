// Printing: the preview of the analysis sheets, printing its pages, the
// comparison grid print, and the sheets as a PDF file from the menu and from
// `orvalle --print-pdf`, checked with poppler's tools.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "gui_test_support.h"
#include "gui_text.h"
#include "print_preview.h"
#include "printer_access.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/record.h"

using namespace orvalle;
using namespace orvalle::gui;
using namespace orvalle::gui::test;

namespace {

// A printer access that has a printer or not, and "prints" into a PDF file
// without a dialog.
class PdfPrinterAccess final : public PrinterAccess {
 public:
  explicit PdfPrinterAccess(QString file, bool present)
      : m_file(std::move(file)), m_present(present) {}
  bool hasPrinter() override { return m_present; }
  bool confirmPrint(QWidget*, QPrinter& printer, int) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_file);
    ++dialogs;
    return true;
  }
  void setUp(QWidget*, QPrinter&) override { ++setUps; }

  int dialogs = 0;
  int setUps = 0;

 private:
  QString m_file;
  bool m_present;
};

class PrinterScope {
 public:
  PrinterScope(const QString& file, bool present) {
    auto access = std::make_unique<PdfPrinterAccess>(file, present);
    m_access = access.get();
    m_previous = PrinterAccess::install(std::move(access));
  }
  ~PrinterScope() { PrinterAccess::install(std::move(m_previous)); }
  PdfPrinterAccess* operator->() { return m_access; }

 private:
  PdfPrinterAccess* m_access;
  std::unique_ptr<PrinterAccess> m_previous;
};

// Standard output of a poppler tool; empty when it failed.
QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& file) {
  const QString info = run(QStringLiteral("pdfinfo"), {file});
  for (const QString& line : info.split('\n')) {
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  }
  return -1;
}

QString pdfText(const QString& file, int page) {
  return run(QStringLiteral("pdftotext"),
             {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
              QString::number(page), file, QStringLiteral("-")});
}

QString trimmedField(std::string_view text) { return fromCp932(store::trim(text)).trimmed(); }

QString iniText(MainWindow& window) {
  QFile file(QString::fromStdString(window.session().home().iniPath().string()));
  return file.open(QIODevice::ReadOnly) ? fromCp932(file.readAll().toStdString()) : QString();
}

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void previewSelectsPagesAndKeepsItsZoomAndPlace() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    QVERIFY(loadFinalDay(window));
    std::vector<output::SheetPage> pages;
    QVERIFY(window.session().analysisSheets(pages).ok());
    const int races = static_cast<int>(window.session().raceList().size());
    QCOMPARE(static_cast<int>(pages.size()), races);

    std::unique_ptr<PrintPreviewDialog> preview = window.makePrintPreview();
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QStringLiteral("全買い目印刷"));
    QCOMPARE(preview->pageSelector()->minimum(), 1);
    QCOMPARE(preview->pageSelector()->maximum(), races);
    QCOMPARE(preview->pageSelector()->value(), 1);
    QVERIFY(*preview->pageView()->page() == pages[0]);
    preview->pageSelector()->setValue(3);
    QVERIFY(*preview->pageView()->page() == pages[2]);

    // 50% at first; a new choice is kept at once and resizes the page.
    QCOMPARE(preview->zoomChoice()->currentIndex(), 1);
    QCOMPARE(preview->pageView()->zoom(), 50);
    const int halfWidth = preview->pageView()->width();
    preview->zoomChoice()->setCurrentIndex(3);
    QCOMPARE(preview->pageView()->zoom(), 100);
    QVERIFY(preview->pageView()->width() > halfWidth * 3 / 2);
    QVERIFY(iniText(window).contains(QStringLiteral("[PrintZoom]\r\nratio=3")));

    preview->show();
    preview->move(40, 30);
    preview->resize(720, 540);
    preview->reject();
    QVERIFY(iniText(window).contains(QStringLiteral("[Printlocate]")));
    std::unique_ptr<PrintPreviewDialog> again = window.makePrintPreview();
    QCOMPARE(again->zoomChoice()->currentIndex(), 3);
    QCOMPARE(again->size(), QSize(720, 540));
    QVERIFY(notifier->messages.empty());
  }

  void printingNeedsADayAPrinterAndAComparison() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    window.findChild<QAction*>("FilePrintItem")->trigger();
    QVERIFY(!window.makePrintPreview());
    QCOMPARE(notifier->messages.size(), size_t{2});
    QCOMPARE(notifier->messages[0].text, QStringLiteral("ﾃﾞｰﾀを読み込んでください。"));
    QVERIFY(notifier->messages[0].beep);

    QVERIFY(loadFinalDay(window));
    notifier->messages.clear();
    PrinterScope printer(dir.path() + QStringLiteral("/none.pdf"), false);
    std::unique_ptr<PrintPreviewDialog> preview = window.makePrintPreview();
    preview->findChild<QPushButton*>("PrintPageBtn")->click();
    preview->findChild<QPushButton*>("PrinterSetupBtn")->click();
    window.findChild<QAction*>("FilePrintSetupItem")->trigger();
    QCOMPARE(notifier->messages.size(), size_t{3});
    for (const auto& message : notifier->messages) {
      QCOMPARE(message.text, QStringLiteral("プリンタが登録されていません"));
    }
    QCOMPARE(printer->dialogs + printer->setUps, 0);
    QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/none.pdf")));

    // The comparison grid needs a comparison first.
    notifier->messages.clear();
    window.findChild<QToolButton*>("SpeedButton13")->click();
    QCOMPARE(notifier->messages.size(), size_t{1});
    QCOMPARE(notifier->messages[0].text, QStringLiteral("２頭比較を行ってください。"));
  }

  void printsTheShownPageOrAllPages() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    QVERIFY(loadFinalDay(window));
    const int races = static_cast<int>(window.session().raceList().size());
    const QString file = dir.path() + QStringLiteral("/printed.pdf");
    PrinterScope printer(file, true);
    std::unique_ptr<PrintPreviewDialog> preview = window.makePrintPreview();

    preview->pageSelector()->setValue(2);
    preview->findChild<QPushButton*>("PrintPageBtn")->click();
    QCOMPARE(pdfPages(file), 1);
    // The page printed is the second race's sheet.
    const int slot = window.session().raceSlotOfLine(1);
    const QString raceName =
        trimmedField(store::ra::kRaceName.in(window.session().tables().race(slot)));
    QVERIFY2(pdfText(file, 1).contains(raceName), qPrintable(raceName));

    preview->findChild<QPushButton*>("PrintAllBtn")->click();
    QCOMPARE(pdfPages(file), races);
    preview->findChild<QPushButton*>("PrinterSetupBtn")->click();
    QCOMPARE(printer->setUps, 1);
    QCOMPARE(printer->dialogs, 2);
    QVERIFY(notifier->messages.empty());
  }

  void comparisonGridPrintsLandscapeWithTheNamesOnEveryPage() {
    NotifierScope notifier;
    TestHome dir;
    MainWindow window(dir.home());
    window.show();
    QVERIFY(loadFinalDay(window));
    // The first pair of runners with common opponents, picked on the race
    // card as a user does.
    app::DaySession& session = window.session();
    int line = 0;
    int horseB = 0;
    for (; line < static_cast<int>(session.raceList().size()) && horseB == 0; ++line) {
      QVERIFY(session.selectRace(line).ok());
      for (int b = 2; b <= session.runnerCount(session.raceSlotOfLine(line)) && horseB == 0; ++b) {
        if (session.compareRunners(app::ComparisonKind::kTwoHorses, 1, b).grid.rows.size() > 1) {
          horseB = b;
        }
      }
    }
    QVERIFY(horseB != 0);
    window.selectRace(line - 1);
    auto* card = window.findChild<QTableView*>("StringGrid4");
    auto* grid6 = window.findChild<QTableView*>("StringGrid6");
    auto click = [&](int horse) {
      for (int row = 0; row < card->model()->rowCount(); ++row) {
        if (card->model()->index(row, 1).data().toString().trimmed().toInt() == horse) {
          QTest::mouseClick(card->viewport(), Qt::LeftButton, {},
                            card->visualRect(card->model()->index(row, 2)).center());
        }
      }
    };
    window.findChild<QToolButton*>("SpeedButton12")->click();
    click(1);
    click(horseB);
    window.findChild<QToolButton*>("Search2Btn")->click();
    const bool listed = grid6->model()->rowCount() > 1;
    QVERIFY(listed);
    notifier->messages.clear();
    const QString heading = window.findChild<QLineEdit*>("Edit1")->text() + QStringLiteral(" vs ") +
                            window.findChild<QLineEdit*>("Edit2")->text();

    const QString file = dir.path() + QStringLiteral("/grid.pdf");
    PrinterScope printer(file, true);
    window.findChild<QToolButton*>("SpeedButton13")->click();
    QVERIFY(notifier->messages.empty());
    const int pages = pdfPages(file);
    QVERIFY(pages >= 1);
    const QString info = run(QStringLiteral("pdfinfo"), {file});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size: +([0-9.]+) x ([0-9.]+)")).match(info);
    QVERIFY2(size.hasMatch() && size.captured(1).toDouble() > size.captured(2).toDouble(),
             qPrintable(info));
    for (int page = 1; page <= pages; ++page) {
      QVERIFY2(pdfText(file, page).contains(heading), qPrintable(heading));
    }
    QCOMPARE(PrinterAccess::printer().pageLayout().orientation(), QPageLayout::Portrait);

    // The pop-up menu item prints the same.
    QFile::remove(file);
    grid6->findChild<QAction*>("N20")->trigger();
    QCOMPARE(pdfPages(file), pages);
  }

  void printPdfWritesOnePagePerRaceWithItsNamesAndInk() {
    TestHome dir;
    app::DaySession session(dir.home());
    const std::string day = session.dateList().at(1);
    QVERIFY(session.loadDay(day, app::AfterLoading::kNothing).ok());
    const int races = static_cast<int>(session.raceList().size());
    const QString file = dir.path() + QStringLiteral("/sheets.pdf");
    const QString program = qEnvironmentVariable("ORVALLE_GUI_BINARY");
    QVERIFY(!program.isEmpty());

    QProcess orvalle;
    orvalle.start(program, {QStringLiteral("--print-pdf"), QString::fromStdString(day), file,
                            QStringLiteral("--home"), dir.path()});
    QVERIFY(orvalle.waitForFinished(120000));
    QCOMPARE(orvalle.exitCode(), 0);
    QCOMPARE(pdfPages(file), races);
    for (int line = 0; line < races; ++line) {
      const int slot = session.raceSlotOfLine(line);
      const QString text = pdfText(file, line + 1);
      const QString raceName = trimmedField(store::ra::kRaceName.in(session.tables().race(slot)));
      QVERIFY2(text.contains(raceName), qPrintable(raceName));
      for (int runner = 0; runner < session.runnerCount(slot); ++runner) {
        const QString horse =
            trimmedField(store::se::kHorseName.in(session.tables().runner(slot, runner)));
        QVERIFY2(text.contains(horse), qPrintable(QStringLiteral("%1: %2").arg(line).arg(horse)));
      }
    }

    // The first page has ink: some pixels of its rendering are dark.
    const QString image = dir.path() + QStringLiteral("/page");
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
         QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-gray"),
         QStringLiteral("-singlefile"), file, image});
    QFile pgm(image + QStringLiteral(".pgm"));
    QVERIFY(pgm.open(QIODevice::ReadOnly));
    const QByteArray pixels = pgm.readAll();
    const qsizetype dark =
        std::count_if(pixels.begin() + pixels.size() / 2, pixels.end(),
                      [](char pixel) { return static_cast<unsigned char>(pixel) < 128; });
    QVERIFY(dark > 100);

    // A day without races fails with its message and writes nothing.
    const QString missing = dir.path() + QStringLiteral("/missing.pdf");
    orvalle.start(program, {QStringLiteral("--print-pdf"), QStringLiteral("19990101"), missing,
                            QStringLiteral("--home"), dir.path()});
    QVERIFY(orvalle.waitForFinished(60000));
    QCOMPARE(orvalle.exitCode(), 1);
    QVERIFY(!orvalle.readAllStandardError().isEmpty());
    QVERIFY(!QFile::exists(missing));
  }
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
