#include "gui_text.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

#include <cmath>

#include "store/cp932.h"

namespace orvalle::gui {
namespace {

QStringList gridFamilies() {
  static const QStringList families = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                                       QStringLiteral("Noto Sans Mono CJK JP"),
                                       QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                                       QStringLiteral("monospace")};
  return families;
}

}  // namespace

QString fromCp932(std::string_view cp932Text) {
  const std::string utf8 = cp932::toUtf8(cp932Text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString fromUtf8(std::string_view utf8Text) {
  return QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size()));
}

std::string toUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QColor toQColor(model::Colour colour, const QPalette& palette) {
  switch (colour.kind) {
    case model::Colour::Kind::kToolTipBackground:
      return palette.color(QPalette::ToolTipBase);
    case model::Colour::Kind::kGridFont:
      return palette.color(QPalette::Text);
    case model::Colour::Kind::kRgb:
      break;
  }
  return QColor::fromRgb(colour.rgb);
}

QFont fixedPitchFont(int pixelSize, bool bold) {
  QFont font = fixedPitchPointFont(0, bold);
  font.setPixelSize(pixelSize);
  return font;
}

QFont fixedPitchPointFont(qreal pointSize, bool bold) {
  QFont font;
  font.setFamilies(gridFamilies());
  font.setStyleHint(QFont::TypeWriter);
  if (pointSize > 0) font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

QString gridHeaderStyleSheet() {
  return QStringLiteral(
      "QHeaderView::section { background-color: #C0C0C0; color: black; border: 0px;"
      " border-right: 1px solid #808080; border-bottom: 1px solid #808080; padding: 1px; }");
}

int scaled(const QWidget* widget, int pixelsAt96Dpi) {
  const int dpi = widget != nullptr ? widget->logicalDpiX() : 96;
  if (dpi <= 96) return pixelsAt96Dpi;
  return static_cast<int>(std::lround(pixelsAt96Dpi * dpi / 96.0));
}

}  // namespace orvalle::gui
