#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_record_file.h"
#include "store/race_line_file.h"
#include "store/text_file.h"
#include "support/temp_dir.h"

namespace orvalle::store {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(Cp932Test, CircledNumbersAndDashSurviveARoundTrip) {
  const std::string text = "①②⑩⑱－～中山競馬場ｶﾅ｢｣　’";
  std::string bytes = cp932::fromUtf8(text);
  EXPECT_EQ(bytes.substr(0, 2), "\x87\x40");  // ① in CP932
  EXPECT_TRUE(cp932::isValid(bytes));
  EXPECT_EQ(cp932::toUtf8(bytes), text);
}

TEST(Cp932Test, InvalidBytesNeverStopTheConversion) {
  // A lone lead byte at the end and an undefined byte in the middle.
  std::string bytes = std::string("AB\xA0") + "C" + "\x81";
  EXPECT_FALSE(cp932::isValid(bytes));
  std::string utf8 = cp932::toUtf8(bytes);
  EXPECT_EQ(utf8.substr(0, 2), "AB");
  EXPECT_NE(utf8.find('C'), std::string::npos);
  EXPECT_TRUE(cp932::isValidUtf8(utf8));
  // Characters without a CP932 form become "?".
  EXPECT_EQ(cp932::fromUtf8("a😀b"), "a?b");
  EXPECT_EQ(cp932::fromUtf8("a\xFF"
                            "b"),
            "a?b");
}

TEST(TextFileTest, LinesSplitAtEveryLineEnd) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(splitLines("").empty());
  EXPECT_EQ(joinLines({"a", "b"}), "a\r\nb\r\n");
}

TEST(TextFileTest, SortOrderFoldsOnlyAsciiLetters) {
  EXPECT_EQ(compareCaseInsensitive("RA7", "ra7"), 0);
  EXPECT_LT(compareCaseInsensitive("RA1", "RA7"), 0);
  EXPECT_LT(compareCaseInsensitive("ab", "abc"), 0);
  // Bytes above 0x7F compare unsigned: they sort after ASCII.
  EXPECT_LT(compareCaseInsensitive("z", "\x82\xA0"), 0);
  EXPECT_LT(compareCaseInsensitive("_", "a"), 0);  // '_' < 'a' once 'A' is folded
}

TEST(AtomicFileTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  TempDir dir;
  auto target = dir / "2024年01月06日.jvRA";
  ASSERT_TRUE(writeFileAtomically(target, "old\r\n"));
  for (auto fault : {AtomicWriteFault::kOpen, AtomicWriteFault::kWrite, AtomicWriteFault::kSync,
                     AtomicWriteFault::kRename}) {
    injectAtomicWriteFaultForTesting(fault);
    Status status = writeFileAtomically(target, "new content\r\n");
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.message().empty());
    EXPECT_EQ(readFile(target), "old\r\n");
  }
  size_t files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1u);
  EXPECT_TRUE(writeFileAtomically(target, "new\r\n"));
  EXPECT_EQ(readFile(target), "new\r\n");
}

TEST(AtomicFileTest, FilesTheUserMadeSpecialStaySo) {
  TempDir dir;
  namespace fs = std::filesystem;
  // A read-only file is not replaced, and the failure names it.
  writeFile(dir / "kept.ini", "old");
  fs::permissions(dir / "kept.ini", fs::perms::owner_read | fs::perms::group_read);
  Status status = writeFileAtomically(dir / "kept.ini", "new");
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("kept.ini"), std::string::npos);
  EXPECT_EQ(readFile(dir / "kept.ini"), "old");

  // A symbolic link stays one; the file it names gets the content.
  writeFile(dir / "real" / "UserSet.usd", "old");
  fs::create_symlink(dir / "real" / "UserSet.usd", dir / "UserSet.usd");
  ASSERT_TRUE(writeFileAtomically(dir / "UserSet.usd", "new").ok());
  EXPECT_TRUE(fs::is_symlink(dir / "UserSet.usd"));
  EXPECT_EQ(readFile(dir / "real" / "UserSet.usd"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), {}), 1);  // no temporary left
}

// A folder of the home that is a link to another place is not written
// through, whether the program made the folder's name from data or not.
TEST(AtomicFileTest, ASymlinkedFolderIsNotWrittenThrough) {
  namespace fs = std::filesystem;
  TempDir dir;
  fs::create_directories(dir / "outside");
  fs::create_directories(dir / "home" / "SEI");
  fs::create_directory_symlink(dir / "outside", dir / "home" / "SEI" / "2012");
  EXPECT_THROW(createFoldersDurably(dir / "home" / "SEI" / "2012"), Error);
  EXPECT_THROW(mergeRaceLines(dir / "home" / "SEI" / "2012" / "2012100001.kak",
                              std::vector<std::string>{"line"}, 10),
               Error);
  EXPECT_TRUE(fs::is_empty(dir / "outside"));
  // A folder under a linked one is still created (the link is the user's).
  fs::create_directory_symlink(dir / "outside", dir / "linked");
  EXPECT_NO_THROW(createFoldersDurably(dir / "linked" / "new"));
}

// A new folder is made durable in the folder that holds it before a file
// goes into it; a file's rename is made durable in its own folder.
TEST(AtomicFileTest, NewFoldersAreSyncedBeforeTheFilesInThem) {
  TempDir dir;
  std::vector<std::filesystem::path> synced;
  recordFolderSyncsForTesting(&synced);
  mergeRaceLines(dir / "SEI" / "2012" / "2012104711.kak", std::vector<std::string>{"line"}, 8);
  recordFolderSyncsForTesting(nullptr);
  const std::vector<std::filesystem::path> expected = {dir.path(), dir / "SEI",
                                                       dir / "SEI" / "2012"};
  EXPECT_EQ(synced, expected);
  EXPECT_THROW(createFoldersDurably(dir / "SEI" / "2012" / "2012104711.kak" / "x"), Error);
}

TEST(AtomicFileTest, WriteIntoAMissingFolderFails) {
  TempDir dir;
  EXPECT_FALSE(writeFileAtomically(dir / "missing" / "x.txt", "x"));
  EXPECT_THROW(writeLines(dir / "missing" / "x.txt", {"x"}), Error);
}

TEST(FixedRecordFileTest, RecordsAreReachedByPositionAndAShortLastOneIsPadded) {
  TempDir dir;
  writeFile(dir / "f", "aaaa\r\nbbbb\r\ncc");
  auto file = FixedRecordFile::open(dir / "f", 6);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->count(), 3u);
  EXPECT_EQ(file->read(1), "bbbb\r\n");
  EXPECT_EQ(file->read(2), "cc    ");
  EXPECT_EQ(file->read(3), "      ");
  EXPECT_FALSE(FixedRecordFile::open(dir / "missing", 6));
  EXPECT_THROW(FixedRecordFile::open(dir.path(), 6), Error);
}

}  // namespace
}  // namespace orvalle::store
