#include "grid_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QPrinter>

#include <algorithm>
#include <vector>

#include "gui_text.h"

namespace orvalle::gui {
namespace {

// Millimetres on the paper.
constexpr qreal kHeadingLeft = 5.0;
constexpr qreal kHeadingTop = 4.0;
constexpr qreal kGridTop = 11.0;
constexpr qreal kMargin = 5.0;
constexpr qreal kFontPoints = 8.0;
// A grid pixel at 96 dpi is 25.4 / 96 mm; printed a little narrower so that
// the comparison grid's 33 columns take two landscape pages.
constexpr qreal kMillimetresPerPixel = 25.4 / 96.0 * 0.85;

// Column groups that fit the printable width, each a half-open range.
std::vector<std::pair<int, int>> columnPages(const std::vector<qreal>& widths, qreal available) {
  std::vector<std::pair<int, int>> pages;
  int first = 0;
  while (first < static_cast<int>(widths.size())) {
    int last = first;
    qreal used = 0;
    while (last < static_cast<int>(widths.size()) &&
           (last == first || used + widths[static_cast<size_t>(last)] <= available)) {
      used += widths[static_cast<size_t>(last)];
      ++last;
    }
    pages.emplace_back(first, last);
    first = last;
  }
  return pages;
}

}  // namespace

QString printGrid(QPrinter& printer, const model::GridView& grid, const QString& pageHeading,
                  const QString& jobTitle) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setFullPage(true);
  printer.setDocName(jobTitle);
  QPainter painter;
  if (!painter.begin(&printer)) {
    printer.setFullPage(false);
    printer.setPageOrientation(QPageLayout::Portrait);
    return QStringLiteral("印刷を開始できませんでした。");
  }
  const qreal mm = printer.logicalDpiX() / 25.4;
  const QRectF paper = printer.pageLayout().fullRectPixels(printer.resolution());
  QFont font = fixedPitchPointFont(kFontPoints);
  painter.setFont(font);
  const QFontMetricsF metrics(font, &printer);
  const qreal rowHeight = metrics.height() * 1.4;

  std::vector<qreal> widths;
  for (int width : grid.columnWidths) widths.push_back(width * kMillimetresPerPixel * mm);
  const qreal usableWidth = paper.width() - (kHeadingLeft + kMargin) * mm;
  const qreal gridTop = kGridTop * mm;
  const int rowsPerPage =
      std::max(1, static_cast<int>((paper.height() - gridTop - kMargin * mm) / rowHeight) - 1);
  const auto columnGroups = columnPages(widths, usableWidth);
  const int dataRows = grid.rowCount() - 1;

  bool firstPage = true;
  for (int top = 1; top == 1 || top <= dataRows; top += rowsPerPage) {
    const int bottom = std::min(top + rowsPerPage - 1, dataRows);
    for (const auto& [left, right] : columnGroups) {
      if (!firstPage) printer.newPage();
      firstPage = false;
      painter.setPen(Qt::black);
      painter.drawText(QPointF(kHeadingLeft * mm, kHeadingTop * mm + metrics.ascent()),
                       pageHeading);
      qreal y = gridTop;
      auto drawRow = [&](int row) {
        qreal x = kHeadingLeft * mm;
        for (int column = left; column < right; ++column) {
          const QRectF cell(x, y, widths[static_cast<size_t>(column)], rowHeight);
          const std::string_view text = grid.cell(row, column);
          const model::CellStyle style = grid.cellStyle(row, column);
          painter.fillRect(cell, toQColor(style.background, QPalette()));
          painter.setPen(QPen(Qt::gray, 0));
          painter.drawRect(cell);
          QColor colour = toQColor(style.text, QPalette());
          if (style.text.kind == model::Colour::Kind::kGridFont) colour = Qt::black;
          painter.setPen(colour);
          painter.drawText(
              cell.adjusted(0.5 * mm, 0, -0.5 * mm, 0),
              Qt::AlignVCenter | (style.leftAligned ? Qt::AlignLeft : Qt::AlignHCenter),
              fromCp932(text));
          x += cell.width();
        }
        y += rowHeight;
      };
      drawRow(0);
      for (int row = top; row <= bottom; ++row) drawRow(row);
    }
  }
  painter.end();
  printer.setFullPage(false);
  printer.setPageOrientation(QPageLayout::Portrait);
  return {};
}

}  // namespace orvalle::gui
