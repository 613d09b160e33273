#pragma once

#include <QString>

namespace orvalle::gui {

class MainWindow;

// Renders the pages of the main window into PNG files of `folder`, for the
// manual and for looking at the program without a display: the window is
// set to a readable size, `day` is chosen (and compared as its options
// say), the first two runners of the first race are picked and compared,
// and each page is saved: 1-race-card.png, 2-detailed-card.png,
// 3-two-horse.png, 4-race-comparison.png, 5-combinations.png,
// 6-results.png, then the acquisition window (7-acquisition.png) and the
// combination settings dialog (8-combination-settings.png). Returns false (with a message on
// standard error) when the day cannot be loaded or a file cannot be written.
bool takeScreenshots(MainWindow& window, const QString& day, const QString& folder);

}  // namespace orvalle::gui
