#pragma once

#include <filesystem>
#include <string_view>

#include "app/command_result.h"
#include "app/home.h"
#include "app/settings.h"

// The predicted-odds import as the user runs it ("予想配当"): the archive
// folder of the settings and the import into the home's data folder.
namespace orvalle::app {

// The folder of the predicted-odds archives, where the archive choice
// opens: "Dir" / "yoso" (a relative path there is taken from the home
// folder), else the home's yLZH folder.
std::filesystem::path predictedOddsFolder(const Home& home, const Settings& settings);

// Stores the chosen archive folder in "Dir" / "yoso". Throws orvalle::Error
// when the settings file cannot be written.
void setPredictedOddsFolder(Settings& settings, const std::filesystem::path& folder);

// The archive a user names on the command line: the path as given when it
// is absolute or exists, else the name taken in predictedOddsFolder (as the
// file dialog would open there).
std::filesystem::path predictedOddsArchive(const Home& home, const Settings& settings,
                                           const std::filesystem::path& argument);

// Imports one archive (output::importPredictedOdds) into the home's data
// folder, creating the home's folders first. `loadedDay` is the stem of the
// day loaded in the main window, whose new-format flag (model::
// isNewFormatDay) decides the KOL quinella layout; empty (no day loaded)
// lets the KOL data's own date decide. The result is ok with
// the saved message, ok without notices when the archive held neither
// provider's file, and a failure with its message otherwise (the warning beep
// for an archive that could not be unpacked). Throws orvalle::Error when a
// file cannot be read, written or removed.
CommandResult importPredictedOdds(const Home& home, const std::filesystem::path& archive,
                                  std::string_view loadedDay);

}  // namespace orvalle::app
