#include "combination_tab.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "grid_model.h"
#include "gui_text.h"

namespace orvalle::gui {
namespace {

using betting::CombinationGridKind;

size_t slotOf(CombinationGridKind kind) { return static_cast<size_t>(kind); }

}  // namespace

CombinationTab::CombinationTab(QWidget* parent) : QTabWidget(parent) {
  setObjectName(QStringLiteral("KaimeTabs"));
  addPage(CombinationGridKind::kQuinella,
          {model::TallyBetType::kQuinella, model::TallyBetType::kQuinellaPlace},
          QStringLiteral("馬連・ワイド"));
  addPage(CombinationGridKind::kExacta, {model::TallyBetType::kExacta}, QStringLiteral("馬単"));
  addPage(CombinationGridKind::kTrio, {model::TallyBetType::kTrio}, QStringLiteral("三連複"));
  clear();
}

QWidget* CombinationTab::addPage(CombinationGridKind kind, std::vector<model::TallyBetType> types,
                                 const QString& title) {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  auto* table = new QTableView(page);
  table->setObjectName(fromUtf8(betting::combinationGridName(kind)));
  auto* gridModel = new GridModel(table);
  setUpGridView(table, gridModel, 13, betting::kCombinationGridRowHeight);
  layout->addWidget(table, 1);

  auto* tallies = new QVBoxLayout;
  for (model::TallyBetType type : types) {
    auto* box = new QGroupBox(fromUtf8(betting::betTypeCaption(type)), page);
    auto* form = new QFormLayout(box);
    TallySet set{type, {}};
    const auto labels = betting::dayTallyLabels(type);
    for (size_t i = 0; i < labels.size(); ++i) {
      auto* label = new QLabel(box);
      label->setObjectName(QString::fromStdString(labels[i].name));
      label->setFont(fixedPitchFont(13));
      label->setMinimumWidth(scaled(label, 70));
      form->addRow(fromUtf8(labels[i].caption), label);
      set.labels[i] = label;
    }
    tallies->addWidget(box);
    m_tallies.push_back(set);
  }
  tallies->addStretch(1);
  layout->addLayout(tallies);

  m_models[slotOf(kind)] = gridModel;
  m_tables[slotOf(kind)] = table;
  addTab(page, title);
  return page;
}

void CombinationTab::showRace(const model::DayTables& tables, int raceSlot) {
  for (CombinationGridKind kind :
       {CombinationGridKind::kQuinella, CombinationGridKind::kExacta, CombinationGridKind::kTrio}) {
    model::GridView view = betting::combinationGrid(tables.analysis(raceSlot), kind);
    m_models[slotOf(kind)]->setView(view);
    applyColumnWidths(m_tables[slotOf(kind)], view);
  }
  showTallies(&tables);
}

void CombinationTab::clear() {
  model::RaceAnalysis none;
  for (CombinationGridKind kind :
       {CombinationGridKind::kQuinella, CombinationGridKind::kExacta, CombinationGridKind::kTrio}) {
    model::GridView view = betting::combinationGrid(none, kind);
    m_models[slotOf(kind)]->setView(view);
    applyColumnWidths(m_tables[slotOf(kind)], view);
  }
  showTallies(nullptr);
}

void CombinationTab::showTallies(const model::DayTables* tables) {
  for (TallySet& set : m_tallies) {
    if (tables == nullptr) {
      for (QLabel* label : set.labels) label->clear();
      continue;
    }
    const betting::DayTallyTexts texts = betting::dayTallyTexts(tables->tally(set.type));
    const std::string* values[] = {&texts.races, &texts.hits, &texts.stake, &texts.payoutReturn,
                                   &texts.returnRate};
    for (size_t i = 0; i < set.labels.size(); ++i) set.labels[i]->setText(fromUtf8(*values[i]));
  }
}

GridModel* CombinationTab::gridModel(CombinationGridKind kind) const {
  return m_models[slotOf(kind)];
}

}  // namespace orvalle::gui
