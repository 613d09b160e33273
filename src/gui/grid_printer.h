#pragma once

#include <QString>

#include "model/grid_view.h"

class QPrinter;

namespace orvalle::gui {

// Prints a grid on as many landscape pages as it needs: its columns at
// their widths are split across pages where they do not fit, its rows down
// pages, and every page starts with the heading row of its columns and with
// `pageHeading` (the two horses compared) 5 mm from the left and 4 mm from
// the top of the paper. The printer's orientation is landscape for the job
// and portrait again after it. Returns the empty text or why it failed.
QString printGrid(QPrinter& printer, const model::GridView& grid, const QString& pageHeading,
                  const QString& jobTitle);

}  // namespace orvalle::gui
