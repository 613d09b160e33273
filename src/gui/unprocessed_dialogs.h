#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QSpinBox;

namespace orvalle::app {
class DaySession;
}

namespace orvalle::gui {

// "未読込データ処理" (TYosoExecuteForm): the year whose race days were never
// compared. OK lists them (app::DaySession::unprocessedDays) in the list
// window; a year without such days says so and the dialog stays open.
// Accepted when the list window's "Start" was pressed: days() then holds
// the days to process, newest first.
class UnprocessedYearDialog : public QDialog {
  Q_OBJECT

 public:
  // The year box starts at and cannot pass `currentYear`.
  UnprocessedYearDialog(const app::DaySession& session, int currentYear, QWidget* parent = nullptr);

  QSpinBox* yearBox() const { return m_year; }
  const std::vector<std::string>& days() const { return m_days; }

 public slots:
  void accept() override;

 private:
  const app::DaySession& m_session;
  QSpinBox* m_year;
  std::vector<std::string> m_days;
};

// "未処理データリスト" (TNoYosoListForm): the unprocessed days of a year and
// the button "Start" that accepts them for processing.
class UnprocessedListDialog : public QDialog {
  Q_OBJECT

 public:
  UnprocessedListDialog(int year, const std::vector<std::string>& days, QWidget* parent = nullptr);

  QListWidget* list() const { return m_list; }

 private:
  QListWidget* m_list;
};

}  // namespace orvalle::gui
