#include "sheet_printing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <variant>

#include "gui_text.h"

namespace orvalle::gui {
namespace {

QStringList proportionalFamilies() {
  static const QStringList families = {
      QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
      QStringLiteral("Noto Sans CJK JP"),
      QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), QStringLiteral("sans-serif")};
  return families;
}

QFont sheetFont(const output::SheetText& text, qreal scale, const QPaintDevice* device) {
  QFont font =
      text.font == output::SheetFont::kGothic ? fixedPitchPointFont(0, text.bold) : QFont();
  if (text.font == output::SheetFont::kProportionalGothic) {
    font.setFamilies(proportionalFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setBold(text.bold);
  }
  // A point is 254 / 72 tenths of a millimetre; the device turns points
  // into pixels at its own dpi, so the size is corrected for it.
  const int dpi = device != nullptr ? device->logicalDpiY() : 96;
  font.setPointSizeF(text.points * scale * 254.0 / std::max(dpi, 1));
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

// Pen widths in 0.1 mm.
qreal penWidth(output::SheetPen pen) {
  switch (pen) {
    case output::SheetPen::kThin:
      return 1.0;
    case output::SheetPen::kNormal:
      return 2.0;
    case output::SheetPen::kThick:
      return 5.0;
    case output::SheetPen::kNone:
      break;
  }
  return 0.0;
}

QPen sheetPen(output::SheetPen pen, qreal scale) {
  if (pen == output::SheetPen::kNone) return QPen(Qt::NoPen);
  QPen qpen(Qt::black);
  qpen.setWidthF(std::max(penWidth(pen) * scale, 1.0));
  qpen.setCapStyle(Qt::FlatCap);
  qpen.setJoinStyle(Qt::MiterJoin);
  return qpen;
}

struct ItemPainter {
  QPainter& painter;
  qreal scale;

  void operator()(const output::SheetText& text) const {
    const QFont font = sheetFont(text, scale, painter.device());
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(text.colour));
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(QPointF(text.x * scale, text.y * scale + metrics.ascent()),
                     fromCp932(text.text));
  }
  void operator()(const output::SheetLine& line) const {
    painter.setPen(sheetPen(line.pen, scale));
    painter.drawLine(QPointF(line.x1 * scale, line.y1 * scale),
                     QPointF(line.x2 * scale, line.y2 * scale));
  }
  void operator()(const output::SheetBox& box) const {
    const QRectF rect(QPointF(box.left * scale, box.top * scale),
                      QPointF(box.right * scale, box.bottom * scale));
    if (box.filled) painter.fillRect(rect, QColor::fromRgb(box.fill));
    if (box.pen == output::SheetPen::kNone) return;
    painter.setPen(sheetPen(box.pen, scale));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
  }
};

QString documentTitle() { return fromCp932(output::analysisSheetTitle()); }

}  // namespace

void paintSheet(QPainter& painter, const output::SheetPage& page, qreal scale) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const ItemPainter paint{painter, scale};
  for (const output::SheetItem& item : page.items) std::visit(paint, item);
  painter.restore();
}

bool paintSheets(QPainter& painter, QPagedPaintDevice& device,
                 const std::vector<output::SheetPage>& pages, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, static_cast<int>(pages.size()) - 1);
  const qreal scale = device.logicalDpiX() / 254.0;
  for (int page = first; page <= last; ++page) {
    if (page != first && !device.newPage()) return false;
    paintSheet(painter, pages[static_cast<size_t>(page)], scale);
  }
  return true;
}

QString printSheets(QPrinter& printer, const std::vector<output::SheetPage>& pages, int first,
                    int last) {
  printer.setDocName(documentTitle());
  QPainter painter;
  if (!painter.begin(&printer)) return QStringLiteral("印刷を開始できませんでした。");
  const bool painted = paintSheets(painter, printer, pages, first, last);
  painter.end();
  return painted ? QString() : QStringLiteral("印刷できませんでした。");
}

QString writeSheetsPdf(const std::vector<output::SheetPage>& pages, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return QStringLiteral("ファイルを作成できません: %1 (%2)").arg(path, file.errorString());
  }
  bool painted = false;
  {
    QPdfWriter writer(&file);
    writer.setTitle(documentTitle());
    writer.setCreator(QStringLiteral("Orvalle"));
    writer.setResolution(600);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(output::kSheetMargin / 10.0, output::kSheetMargin / 10.0,
                              output::kSheetMargin / 10.0, output::kSheetMargin / 10.0),
                    QPageLayout::Millimeter));
    QPainter painter;
    if (painter.begin(&writer)) {
      painted = paintSheets(painter, writer, pages, 0, static_cast<int>(pages.size()) - 1);
      painter.end();
    }
  }
  if (!painted) {
    file.cancelWriting();
    return QStringLiteral("PDFファイルを書き込めません: %1").arg(path);
  }
  if (!file.commit()) {
    return QStringLiteral("PDFファイルを書き込めません: %1 (%2)").arg(path, file.errorString());
  }
  return {};
}

}  // namespace orvalle::gui
