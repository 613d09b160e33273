#include "print_preview.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "app/home_lock.h"
#include "gui_text.h"
#include "notifier.h"
#include "printer_access.h"
#include "sheet_printing.h"
#include "store/error.h"
#include "window_place.h"

namespace orvalle::gui {
namespace {

constexpr int kZoomChoices = static_cast<int>(std::size(PrintPreviewDialog::kZoomPercents));

// The grey around the page and its shadow, in pixels.
constexpr int kPageGap = 8;

}  // namespace

SheetPageView::SheetPageView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PreviewPage"));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SheetPageView::setPage(const output::SheetPage* page) {
  m_page = page;
  update();
}

void SheetPageView::setZoom(int percent) {
  m_zoom = std::clamp(percent, 10, 400);
  resize(sizeHint());
  updateGeometry();
  update();
}

qreal SheetPageView::scale() const { return m_zoom / 100.0 * logicalDpiX() / 254.0; }

QSize SheetPageView::sizeHint() const {
  const qreal s = scale();
  return {static_cast<int>(output::kSheetPaperWidth * s) + 2 * kPageGap,
          static_cast<int>(output::kSheetPaperHeight * s) + 2 * kPageGap};
}

void SheetPageView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().color(QPalette::Dark));
  const qreal s = scale();
  const QRectF paper(kPageGap, kPageGap, output::kSheetPaperWidth * s,
                     output::kSheetPaperHeight * s);
  painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 90));
  painter.fillRect(paper, Qt::white);
  if (m_page == nullptr) return;
  painter.translate(paper.topLeft() + QPointF(output::kSheetMargin * s, output::kSheetMargin * s));
  paintSheet(painter, *m_page, s);
}

PrintPreviewDialog::PrintPreviewDialog(std::vector<output::SheetPage> pages, const app::Home& home,
                                       QString pdfName, QWidget* parent)
    : QDialog(parent),
      m_pages(std::move(pages)),
      m_home(home),
      m_settings(home.iniPath()),
      m_pdfName(std::move(pdfName)),
      m_page(new QSpinBox(this)),
      m_zoom(new QComboBox(this)),
      m_scroller(new QScrollArea(this)),
      m_view(new SheetPageView) {
  setObjectName(QStringLiteral("AllPrintForm"));
  setWindowTitle(QStringLiteral("全買い目印刷"));

  m_page->setObjectName(QStringLiteral("PageSelector"));
  m_page->setRange(1, std::max(pageCount(), 1));
  m_page->setValue(1);
  m_page->setStatusTip(QStringLiteral("表示するﾍﾟｰｼﾞを選びます"));
  for (int percent : kZoomPercents) m_zoom->addItem(QStringLiteral("%1%").arg(percent));
  m_zoom->setObjectName(QStringLiteral("ZoomChoice"));

  auto button = [this](const char* name, const QString& caption) {
    auto* pushButton = new QPushButton(caption, this);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setAutoDefault(false);
    return pushButton;
  };
  QPushButton* printShown = button("PrintPageBtn", QStringLiteral("表示ﾍﾟｰｼﾞ印刷(&P)"));
  QPushButton* printAll = button("PrintAllBtn", QStringLiteral("全ﾍﾟｰｼﾞ印刷(&P)"));
  QPushButton* setUp = button("PrinterSetupBtn", QStringLiteral("ﾌﾟﾘﾝﾀ設定(&S)"));
  QPushButton* pdf = button("PdfSaveBtn", QStringLiteral("PDFに保存(&D)..."));
  QPushButton* close = button("CloseBtn", QStringLiteral("閉じる"));
  connect(printShown, &QPushButton::clicked, this,
          [this] { printPages(m_page->value(), m_page->value()); });
  connect(printAll, &QPushButton::clicked, this, [this] { printPages(1, pageCount()); });
  connect(setUp, &QPushButton::clicked, this, [this] {
    if (!PrinterAccess::instance().hasPrinter()) {
      Notifier::instance().inform(this, QString::fromUtf8(kNoPrinterMessage), true);
      return;
    }
    PrinterAccess::instance().setUp(this, PrinterAccess::printer());
  });
  connect(pdf, &QPushButton::clicked, this, &PrintPreviewDialog::savePdf);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QStringLiteral("ﾍﾟｰｼﾞ選択"), this));
  bar->addWidget(m_page);
  bar->addWidget(new QLabel(QStringLiteral("/ %1").arg(pageCount()), this));
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("倍率"), this));
  bar->addWidget(m_zoom);
  bar->addStretch(1);
  bar->addWidget(close);
  auto* commands = new QHBoxLayout;
  for (QPushButton* pushButton : {printShown, printAll, setUp, pdf}) {
    commands->addWidget(pushButton);
  }
  commands->addStretch(1);

  m_scroller->setObjectName(QStringLiteral("PreviewScroller"));
  m_scroller->setWidget(m_view);
  m_scroller->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_scroller->setBackgroundRole(QPalette::Dark);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addLayout(commands);
  layout->addWidget(m_scroller, 1);

  int zoomIndex = 1;
  try {
    zoomIndex = m_settings.integer(app::settings::kPrintZoom);
    restoreWindowPlace(*this, m_settings, kPrintPreviewPlace);
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
  if (zoomIndex < 0 || zoomIndex >= kZoomChoices) zoomIndex = 1;
  m_zoom->setCurrentIndex(zoomIndex);
  m_view->setZoom(kZoomPercents[zoomIndex]);
  showPage(1);

  connect(m_page, &QSpinBox::valueChanged, this, &PrintPreviewDialog::showPage);
  connect(m_zoom, &QComboBox::currentIndexChanged, this, &PrintPreviewDialog::chooseZoom);
}

void PrintPreviewDialog::showPage(int page) {
  const int index = page - 1;
  m_view->setPage(index >= 0 && index < pageCount() ? &m_pages[static_cast<size_t>(index)]
                                                    : nullptr);
}

void PrintPreviewDialog::chooseZoom(int index) {
  if (index < 0 || index >= kZoomChoices) return;
  m_view->setZoom(kZoomPercents[index]);
  try {
    app::withHomeWriteLock(m_home,
                           [&] { m_settings.setInteger(app::settings::kPrintZoom, index); });
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

void PrintPreviewDialog::printPages(int first, int last) {
  PrinterAccess& access = PrinterAccess::instance();
  if (!access.hasPrinter()) {
    Notifier::instance().inform(this, QString::fromUtf8(kNoPrinterMessage), true);
    return;
  }
  QPrinter& printer = PrinterAccess::printer();
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPrintRange(QPrinter::PageRange);
  printer.setFromTo(first, last);
  if (!access.confirmPrint(this, printer, pageCount())) return;
  if (printer.printRange() == QPrinter::PageRange) {
    first = printer.fromPage();
    last = printer.toPage();
  } else {
    first = 1;
    last = pageCount();
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString error = printSheets(printer, m_pages, first - 1, last - 1);
  QApplication::restoreOverrideCursor();
  if (!error.isEmpty()) Notifier::instance().inform(this, error, true);
}

void PrintPreviewDialog::savePdf() { saveSheetsPdf(this, m_pages, m_pdfName); }

void PrintPreviewDialog::done(int result) {
  saveWindowPlace(*this, m_home, kPrintPreviewPlace);
  QDialog::done(result);
}

QString saveSheetsPdf(QWidget* parent, const std::vector<output::SheetPage>& pages,
                      const QString& suggestedPath) {
  const QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("PDFに保存"), suggestedPath, QStringLiteral("PDFファイル (*.pdf)"));
  if (path.isEmpty()) return {};
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString error = writeSheetsPdf(pages, path);
  QApplication::restoreOverrideCursor();
  if (!error.isEmpty()) {
    Notifier::instance().inform(parent, error, true);
    return {};
  }
  return path;
}

}  // namespace orvalle::gui
