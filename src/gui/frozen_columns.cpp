#include "frozen_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace orvalle::gui {
namespace {

class FrozenOverlay : public QObject {
 public:
  FrozenOverlay(QTableView* table, int count, QAbstractItemDelegate* delegate)
      : QObject(table), m_table(table), m_view(new QTableView(table)), m_count(count) {
    m_view->setObjectName(table->objectName() + QStringLiteral("Fixed"));
    m_view->setModel(table->model());
    m_view->setItemDelegate(delegate);
    m_view->setSelectionModel(table->selectionModel());
    m_view->setFont(table->font());
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setSelectionBehavior(table->selectionBehavior());
    m_view->setSelectionMode(table->selectionMode());
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setFont(table->horizontalHeader()->font());
    m_view->horizontalHeader()->setStyleSheet(table->horizontalHeader()->styleSheet());
    m_view->horizontalHeader()->setFixedHeight(table->horizontalHeader()->height());
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollMode(table->verticalScrollMode());
    m_view->setStyleSheet(QStringLiteral("QTableView { border: none; }"));
    table->viewport()->stackUnder(m_view);

    connect(table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
              if (section < m_count) {
                m_view->setColumnWidth(section, size);
                place();
              }
            });
    connect(table->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { m_view->setRowHeight(row, size); });
    connect(m_view->verticalScrollBar(), &QAbstractSlider::valueChanged, table->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(table->verticalScrollBar(), &QAbstractSlider::valueChanged, m_view->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(table->model(), &QAbstractItemModel::modelReset, this, [this] { sync(); });
    table->installEventFilter(this);
    sync();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_table && event->type() == QEvent::Resize) place();
    return QObject::eventFilter(watched, event);
  }

 private:
  void sync() {
    m_view->verticalHeader()->setDefaultSectionSize(
        m_table->verticalHeader()->defaultSectionSize());
    const int columns = m_table->model()->columnCount();
    for (int column = 0; column < columns; ++column) {
      m_view->setColumnHidden(column, column >= m_count);
      if (column < m_count) m_view->setColumnWidth(column, m_table->columnWidth(column));
    }
    place();
  }
  void place() {
    int width = 0;
    for (int column = 0; column < m_count; ++column) width += m_table->columnWidth(column);
    m_view->setGeometry(m_table->verticalHeader()->width() + m_table->frameWidth(),
                        m_table->frameWidth(), width,
                        m_table->viewport()->height() + m_table->horizontalHeader()->height());
    m_view->show();
  }

  QTableView* m_table;
  QTableView* m_view;
  int m_count;
};

}  // namespace

void freezeColumns(QTableView* table, int count, QAbstractItemDelegate* delegate) {
  new FrozenOverlay(table, count, delegate);
}

}  // namespace orvalle::gui
