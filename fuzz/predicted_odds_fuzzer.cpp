// The predicted odds: the providers' text files as the odds import takes
// them out of an archive and converts them, and the predicted-odds day file
// (.yoz) as day loading reads it.
// Input: one mode byte, then the file. Mode bits 0-1: 0 the .yoz day file,
// 1 the JRDB text "Oz060105.txt", 2 and 3 the KOL text "kol_ods.kd2";
// bits 2-3: the new-format flag of the loaded day (0 none loaded, 1 off,
// 2 and 3 on).

#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "output/predicted_odds_import.h"
#include "store/error.h"
#include "store/predicted_odds_file.h"
#include "support/lha_builder.h"

namespace {

using namespace orvalle;

void readDayFile(const std::filesystem::path& path) {
  for (const store::PredictedOddsLine& line : store::readPredictedOddsFile(path)) {
    (void)line.date();
    (void)line.racecourseCode();
    (void)line.meeting();
    (void)line.dayOfMeeting();
    (void)line.raceNumber();
    (void)line.runnerCount();
    (void)line.sourceMark();
    for (int horse = 1; horse <= store::kPredictedOddsHorses; ++horse) {
      (void)line.winOdds(horse);
      (void)line.placeOdds(horse);
    }
    for (int pair = 1; pair <= store::kPredictedOddsPairs; ++pair) (void)line.quinellaOdds(pair);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  const std::string file(fuzz::inputText(data + 1, size - 1));

  fuzz::MemoryHome home;
  try {
    if ((mode & 3) == 0) {
      const std::filesystem::path dayFile = "/home/DATA/2006年01月05日.yoz";
      home.files().putFile(dayFile, file);
      readDayFile(dayFile);
      return 0;
    }

    const bool jrdb = (mode & 3) == 1;
    const std::filesystem::path archive = jrdb ? "/home/yLZH/OZ060105.lzh" : "/home/yLZH/j0105.lzh";
    const std::string member = jrdb ? output::jrdbTextFileName(archive.filename().string())
                                    : std::string(output::kKolTextFileName);
    home.files().putFile(archive, test::storedLhaArchive({{member, file}}));

    output::OddsImportRequest request;
    request.archive = archive;
    request.dataFolder = "/home/DATA";
    const unsigned format = (mode >> 2) & 3;
    if (format != 0) request.newFormat = format >= 2;
    const output::OddsImportResult result = output::importPredictedOdds(request);
    if (result.saved()) readDayFile(result.dayFile);
  } catch (const Error&) {
  }
  return 0;
}
