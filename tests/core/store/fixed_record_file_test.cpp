#include "store/fixed_record_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvalle::store {
namespace {

TEST(FixedRecordFileTest, ReadFixedRecordsStopsAtTheLimitAndPadsAShortLastRecord) {
  test::TempDir dir;
  EXPECT_FALSE(readFixedRecords(dir / "missing.jvRA", 6, 36));

  test::writeFile(dir / "day.jvRA", "aaaa\r\nbbbb\r\ncc");
  auto all = readFixedRecords(dir / "day.jvRA", 6, 36);
  ASSERT_TRUE(all);
  EXPECT_EQ(*all, (std::vector<std::string>{"aaaa\r\n", "bbbb\r\n", "cc    "}));

  auto first = readFixedRecords(dir / "day.jvRA", 6, 2);
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, (std::vector<std::string>{"aaaa\r\n", "bbbb\r\n"}));

  test::writeFile(dir / "empty.jvRA", "");
  auto none = readFixedRecords(dir / "empty.jvRA", 6, 36);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
}

}  // namespace
}  // namespace orvalle::store
