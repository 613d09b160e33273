#include "app/odds_import_command.h"

#include <system_error>

#include "model/day_tables.h"
#include "output/predicted_odds_import.h"
#include "store/cp932.h"
#include "store/file_system.h"
#include "store/fixed_width.h"

namespace orvalle::app {

namespace fs = std::filesystem;

fs::path predictedOddsFolder(const Home& home, const Settings& settings) {
  std::string configured = cp932::toUtf8(settings.text(settings::kOddsFolder));
  if (store::trim(configured).empty()) return home.lzhFolder();
  fs::path folder(configured);
  return folder.is_relative() ? home.root() / folder : folder;
}

void setPredictedOddsFolder(Settings& settings, const fs::path& folder) {
  settings.setText(settings::kOddsFolder, cp932::fromUtf8(folder.string()));
}

fs::path predictedOddsArchive(const Home& home, const Settings& settings,
                              const fs::path& argument) {
  if (argument.is_absolute() || store::pathExists(argument)) return argument;
  return predictedOddsFolder(home, settings) / argument;
}

CommandResult importPredictedOdds(const Home& home, const fs::path& archive,
                                  std::string_view loadedDay) {
  home.init();
  output::OddsImportRequest request;
  request.archive = archive;
  request.dataFolder = home.dataFolder();
  if (!loadedDay.empty()) request.newFormat = model::isNewFormatDay(loadedDay);
  output::OddsImportResult imported = output::importPredictedOdds(request);
  if (imported.saved()) return CommandResult::information(imported.message);
  if (imported.message.empty()) return CommandResult{};
  return CommandResult::failure(imported.message, imported.beep());
}

}  // namespace orvalle::app
