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

TEST(FixedRecordFileTest, ARangeReadsLikeItsRecordsOneByOne) {
  test::TempDir dir;
  test::writeFile(dir / "horse.kak", "aaaa\r\nbbbb\r\ncc");
  auto file = FixedRecordFile::open(dir / "horse.kak", 6);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->count(), 3u);
  EXPECT_EQ(file->readRange(0, 3), "aaaa\r\nbbbb\r\ncc    ");
  EXPECT_EQ(file->readRange(1, 1), file->read(1));
  // Records beyond the end are blank.
  EXPECT_EQ(file->readRange(2, 3), "cc    " + std::string(12, ' '));
  EXPECT_EQ(file->readRange(3, 2), std::string(12, ' '));
  EXPECT_EQ(file->readRange(0, 0), "");
  EXPECT_EQ(file->read(7), std::string(6, ' '));
}

}  // namespace
}  // namespace orvalle::store
