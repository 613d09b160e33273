#include "results_panel_widget.h"

#include <QLabel>

#include "gui_text.h"

namespace orvalle::gui {
namespace {

constexpr output::ResultsRow kRows[] = {
    output::ResultsRow::kResult, output::ResultsRow::kPopularity, output::ResultsRow::kPayout};

}  // namespace

ResultsPanelWidget::ResultsPanelWidget(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("KekkaPanel"));
  const QFont boxFont = fixedPitchFont(12, true);
  const int boxHeight =
      std::max(scaled(this, output::kResultsBoxHeight), QFontMetrics(boxFont).height() + 2);
  // Rows keep their places relative to each other when the font needs taller
  // boxes than the 15 pixels of the layout.
  const double stretch = static_cast<double>(boxHeight) / scaled(this, output::kResultsBoxHeight);
  auto y = [&](int pixels) { return static_cast<int>(scaled(this, pixels) * stretch); };
  auto x = [&](int pixels) { return scaled(this, pixels); };

  QFont captionFont = font();
  captionFont.setBold(true);
  captionFont.setUnderline(true);
  int bottom = 0;
  for (const output::ResultsGroupLayout& layout : output::kResultsGroupLayouts) {
    Group group{layout.type, {}};
    auto* caption = new QLabel(fromCp932(output::resultsGroupCaption(layout.type)), this);
    caption->setFont(captionFont);
    caption->setStyleSheet(QStringLiteral("color: blue;"));
    caption->move(x(4), y(layout.top) - y(2));
    for (size_t r = 0; r < std::size(kRows); ++r) {
      const output::ResultsRow row = kRows[r];
      const int top = y(layout.top + output::kResultsRowOffsets[r]);
      auto* rowCaption = new QLabel(fromCp932(output::resultsRowCaption(row)), this);
      const std::string captionName = output::resultsRowCaptionName(layout.type, row);
      if (!captionName.empty()) rowCaption->setObjectName(QString::fromStdString(captionName));
      rowCaption->move(x(0), top);
      for (int entry = 0; entry < layout.entries; ++entry) {
        auto* label = new QLabel(this);
        label->setObjectName(
            QString::fromStdString(output::resultsBoxName(layout.type, row, entry)));
        label->setFont(boxFont);
        label->setAlignment(Qt::AlignCenter);
        // Sunken 3-D boxes: the rows of a group touch, their borders part them.
        label->setStyleSheet(QStringLiteral(
            "QLabel { color: lime; background-color: black; border: 2px inset #808080; }"));
        label->setGeometry(x(output::kResultsBoxLeft + output::kResultsBoxStride * entry), top,
                           x(output::kResultsBoxWidth), boxHeight);
        group.rows[r].push_back(label);
        bottom = std::max(bottom, top + boxHeight);
      }
    }
    m_groups.push_back(std::move(group));
  }
  setMinimumSize(x(output::kResultsBoxLeft + output::kResultsBoxStride * 7), bottom + y(8));
}

void ResultsPanelWidget::showGroup(Group& group, const output::ResultsGroupTexts& texts) {
  for (size_t entry = 0; entry < group.rows[0].size(); ++entry) {
    const output::ResultsEntryTexts shown =
        entry < texts.entries.size() ? texts.entries[entry] : output::ResultsEntryTexts{};
    group.rows[0][entry]->setText(QString::fromStdString(shown.result));
    group.rows[1][entry]->setText(QString::fromStdString(shown.popularity));
    group.rows[2][entry]->setText(QString::fromStdString(shown.payout));
  }
}

void ResultsPanelWidget::showPayouts(const store::PayoutBlock& payouts) {
  const auto texts = output::resultsPanelTexts(payouts);
  for (size_t g = 0; g < m_groups.size(); ++g) showGroup(m_groups[g], texts[g]);
}

void ResultsPanelWidget::clear() {
  for (Group& group : m_groups) showGroup(group, {});
}

QLabel* ResultsPanelWidget::box(store::BetType type, output::ResultsRow row, int entry) const {
  for (const Group& group : m_groups) {
    if (group.type != type) continue;
    const auto& boxes = group.rows[static_cast<size_t>(row)];
    if (entry < 0 || static_cast<size_t>(entry) >= boxes.size()) return nullptr;
    return boxes[static_cast<size_t>(entry)];
  }
  return nullptr;
}

}  // namespace orvalle::gui
