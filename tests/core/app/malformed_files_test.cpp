// Every reader of the program survives files of any content: random bytes,
// short and overlong lines, invalid CP932, junk in numeric fields. Each case
// is fed to every reader and writer that loads an existing file first.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings.h"
#include "store/day_file_names.h"
#include "store/day_file_store.h"
#include "store/fixed_record_file.h"
#include "store/past_run_file.h"
#include "store/payout_block.h"
#include "store/predicted_odds_file.h"
#include "store/prediction_file.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle {
namespace {

using test::RecordBuilder;
using test::TempDir;
using test::writeFile;

// Deterministic junk: bytes from a small generator, with line ends and
// CP932 lead bytes sprinkled in.
std::string junk(uint64_t seed, size_t size) {
  std::string bytes(size, ' ');
  uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
  for (char& c : bytes) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    switch (state % 11) {
      case 0:
        c = '\n';
        break;
      case 1:
        c = '\r';
        break;
      case 2:
        c = static_cast<char>(0x81 + state % 30);
        break;  // a lead byte, often left dangling
      case 3:
        c = static_cast<char>('0' + state % 10);
        break;
      default:
        c = static_cast<char>(state >> 24);
    }
  }
  return bytes;
}

std::vector<std::string> malformedFiles() {
  std::vector<std::string> files = {
      "",
      "\r\n",
      "RA",
      std::string(5000, '\n'),
      std::string(3000, '\x81'),
      "RA7" + std::string(100, '9') + "\r\nSE7\r\nHR2\n",
      RecordBuilder::ra("2024010606010101").line() + "\r\n" + std::string(40, 'x'),
      std::string(1461 * 3, '*'),
  };
  for (uint64_t seed = 1; seed <= 12; ++seed) files.push_back(junk(seed, 200 + seed * 700));
  return files;
}

TEST(MalformedFilesTest, NoReaderCrashesOnJunk) {
  TempDir dir;
  const std::string ra = RecordBuilder::ra("2024010606010101", '1')
                             .setNumber(store::ra::kRegisteredRunners, 10)
                             .record();
  const std::string se = RecordBuilder::se("2024010606010101", 3, '1').record();
  const std::string hr = RecordBuilder::hr("2024010606010101").record();
  const std::string pastRun(824, '0');

  int index = 0;
  for (const std::string& content : malformedFiles()) {
    SCOPED_TRACE("case " + std::to_string(index++));
    auto data = dir / ("DATA" + std::to_string(index));
    std::filesystem::create_directories(data);
    auto stem = *store::dayStemOfDate("20240106");
    for (const char* name : {".jvRA", "中山.jvSEr", ".jvHR", ".yoz"}) {
      writeFile(data / (stem + name), content);
    }
    writeFile(data / "junk.jvRA", content);

    // Fixed-record readers and the odds reader.
    for (size_t size : {1272u, 555u, 719u, 826u, 52u, 1461u}) {
      auto file = store::FixedRecordFile::open(data / (stem + ".jvRA"), size);
      ASSERT_TRUE(file);
      for (size_t i = 0; i <= file->count(); ++i) EXPECT_EQ(file->read(i).size(), size);
    }
    for (const auto& line : store::readPredictedOddsFile(data / (stem + ".yoz"))) {
      (void)line.winOdds(1);
      (void)line.quinellaOdds(153);
    }
    (void)store::parsePayoutBlock(content);
    EXPECT_EQ(store::listDays(data), std::vector<std::string>{stem});

    // Writers that load the existing file, merge and rewrite it.
    store::DayFileStore dayFiles(data, store::WriterRules::acquisition(20240101));
    EXPECT_TRUE(dayFiles.store(ra));
    EXPECT_TRUE(dayFiles.store(se));
    EXPECT_TRUE(dayFiles.store(hr));
    store::mergePastRunLine(dir / "past.kak", content.substr(0, 824) + pastRun);
    store::writePredictionLine(dir / "pred.yos", content.substr(0, 50));
    for (const auto& line : store::splitLines(test::readFile(dir / "past.kak"))) {
      EXPECT_EQ(line.size(), 824u);
    }

    // The settings file.
    writeFile(dir / "orvalle.ini", content);
    app::Settings settings(dir / "orvalle.ini");
    EXPECT_GE(settings.integer(app::settings::kPastRunPeriod), 0);
    (void)settings.decimal(app::settings::kOddsCeiling);
    (void)settings.text(app::settings::kLastAcquisitionTime);
  }
}

}  // namespace
}  // namespace orvalle
