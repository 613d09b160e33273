#pragma once

#include <QDialog>
#include <QWidget>

#include <vector>

#include "app/home.h"
#include "app/settings.h"
#include "output/analysis_sheet.h"

class QComboBox;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace orvalle::gui {

// One sheet on paper at a zoom: the white A4 page with its printable area
// and the items painted at their real size times the zoom.
class SheetPageView : public QWidget {
  Q_OBJECT

 public:
  explicit SheetPageView(QWidget* parent = nullptr);

  void setPage(const output::SheetPage* page);
  const output::SheetPage* page() const { return m_page; }
  // The zoom in percent of the paper's real size.
  void setZoom(int percent);
  int zoom() const { return m_zoom; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Device pixels per 0.1 mm at the zoom.
  qreal scale() const;

  const output::SheetPage* m_page = nullptr;
  int m_zoom = 50;
};

// "全買い目印刷" (TAllPrintForm): the analysis sheets of the loaded day, one
// page per race, with the page selector "ﾍﾟｰｼﾞ選択", the zoom "倍率" (its
// choice kept in "PrintZoom"/"ratio" at every change), printing of the
// shown page or of all pages through the system print dialog, the printer
// set-up and saving all pages as a PDF file. Its place and size come from
// and go back to "Printlocate".
class PrintPreviewDialog : public QDialog {
  Q_OBJECT

 public:
  // The zoom choices in percent, by "PrintZoom"/"ratio" index.
  static constexpr int kZoomPercents[] = {25, 50, 75, 100};

  // The zoom and the place are read from and written to the settings file of
  // `home`, each change under the home's lock.
  PrintPreviewDialog(std::vector<output::SheetPage> pages, const app::Home& home, QString pdfName,
                     QWidget* parent = nullptr);

  QSpinBox* pageSelector() const { return m_page; }
  QComboBox* zoomChoice() const { return m_zoom; }
  SheetPageView* pageView() const { return m_view; }
  int pageCount() const { return static_cast<int>(m_pages.size()); }

  // Prints pages `first` to `last` (1-based) after the print dialog; says
  // "プリンタが登録されていません" when the system has no printer.
  void printPages(int first, int last);
  // Saves every page as a PDF file the user names.
  void savePdf();

 public slots:
  void done(int result) override;

 private:
  void showPage(int page);
  void chooseZoom(int index);

  std::vector<output::SheetPage> m_pages;
  app::Home m_home;
  app::Settings m_settings;
  QString m_pdfName;
  QSpinBox* m_page;
  QComboBox* m_zoom;
  QScrollArea* m_scroller;
  SheetPageView* m_view;
};

// Saves `pages` as a PDF file chosen in a file dialog (starting at
// `suggestedPath`), with a message when it cannot be written. Returns the
// path written, empty when nothing was.
QString saveSheetsPdf(QWidget* parent, const std::vector<output::SheetPage>& pages,
                      const QString& suggestedPath);

}  // namespace orvalle::gui
