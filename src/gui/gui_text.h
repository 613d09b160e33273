#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <string>
#include <string_view>

#include "model/colours.h"

class QPalette;
class QWidget;

// The edge between the core's CP932 texts and colours and Qt's widgets.
namespace orvalle::gui {

// CP932 bytes as a QString (through UTF-8).
QString fromCp932(std::string_view cp932Text);

// UTF-8 text of the core (messages, stems) as a QString.
QString fromUtf8(std::string_view utf8Text);

// A QString as UTF-8 bytes for the core.
std::string toUtf8(const QString& text);

// A colour of the core: its RGB value, or the palette's colour for the
// desktop colours (tool-tip background, the grid's font colour).
QColor toQColor(model::Colour colour, const QPalette& palette);

// The fixed-pitch font of the grids, the race list and the printed sheets:
// "ＭＳ ゴシック" where it exists, else "IPAGothic" (the same widths), else
// "Noto Sans Mono CJK JP", else the system's monospace font; `pixelSize`
// high, bold when asked. IPAGothic comes first on Linux also because it maps
// every kanji to a glyph of its own: PDF files written with it give their
// text back unchanged.
QFont fixedPitchFont(int pixelSize, bool bold = false);

// The same family list at a point size (the detailed race card); a size of
// 0 keeps the default size.
QFont fixedPitchPointFont(qreal pointSize, bool bold = false);

// The heading row of every grid: silver, black text, thin grey lines.
QString gridHeaderStyleSheet();

// A width or height in pixels at 96 dpi, scaled to the widget's screen.
int scaled(const QWidget* widget, int pixelsAt96Dpi);

}  // namespace orvalle::gui
