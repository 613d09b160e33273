#pragma once

#include <QString>

#include <vector>

#include "output/analysis_sheet.h"

class QPainter;
class QPagedPaintDevice;
class QPrinter;

// Paints the core's analysis sheets (drawing items in 0.1 mm) onto any
// device: the preview, a printer, a PDF file.
namespace orvalle::gui {

// Paints `page` with the printable area's top left corner at the painter's
// origin, `scale` device pixels per 0.1 mm. Texts take the sheet's fonts:
// the fixed-pitch Gothic of the grids, or the proportional "ＭＳ Ｐゴシック"
// (else "IPAPGothic", else "Noto Sans CJK JP", else the system's
// sans-serif), at their point
// sizes times the scale, so a page looks the same at any resolution.
void paintSheet(QPainter& painter, const output::SheetPage& page, qreal scale);

// Pages `first` to `last` (0-based, clipped to the pages there are) onto a
// paged device that `painter` is active on, one device page each; the
// origin is the device's printable area. False when a new page could not
// be started.
bool paintSheets(QPainter& painter, QPagedPaintDevice& device,
                 const std::vector<output::SheetPage>& pages, int first, int last);

// Prints pages `first` to `last` (0-based, clipped) on `printer` as one job
// titled "Orvalle分析結果　印刷". Returns the empty text or why it failed.
QString printSheets(QPrinter& printer, const std::vector<output::SheetPage>& pages, int first,
                    int last);

// Writes every page to the PDF file `path` (A4 portrait, 5 mm margins),
// replacing it only when the whole file was written. Returns the empty
// text or the message of the failure.
QString writeSheetsPdf(const std::vector<output::SheetPage>& pages, const QString& path);

}  // namespace orvalle::gui
