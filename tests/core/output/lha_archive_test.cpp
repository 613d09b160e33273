#include "output/lha_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "store/atomic_file.h"
#include "store/error.h"
#include "support/lha_builder.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::output {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

// Text that compresses, so -lh5- members are really encoded.
std::string oddsText() {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "06  11a11 16  3.4 12.5  8.1  *    -  \r\n";
  return text;
}

TEST(LhaArchiveTest, Crc16OfTheCheckString) {
  EXPECT_EQ(lhaCrc16("123456789"), 0xBB3D);
  EXPECT_EQ(lhaCrc16(""), 0);
}

struct LevelCase {
  int level;
  bool stored;
};

class LhaLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LhaLevelTest, ExtractsEveryMemberWithItsContent) {
  if (!test::haveJlha()) GTEST_SKIP() << test::kNoJlhaMessage;
  test::TempDir dir;
  writeFile(dir / "src" / "Oz060105.txt", oddsText());
  writeFile(dir / "src" / "yosoodds.dat", "x");
  ASSERT_TRUE(test::makeLhaArchive(dir / "out" / "OZ060105.lzh", dir / "src",
                                   {"Oz060105.txt", "yosoodds.dat"}, GetParam().level,
                                   GetParam().stored));

  LhaExtraction result = extractLhaArchive(dir / "out" / "OZ060105.lzh", dir / "out");
  EXPECT_FALSE(result.damaged);
  EXPECT_TRUE(result.anythingExtracted());
  EXPECT_EQ(result.extracted, (std::vector<std::string>{"Oz060105.txt", "yosoodds.dat"}));
  EXPECT_TRUE(result.refused.empty());
  EXPECT_EQ(readFile(dir / "out" / "Oz060105.txt"), oddsText());
  EXPECT_EQ(readFile(dir / "out" / "yosoodds.dat"), "x");
}

INSTANTIATE_TEST_SUITE_P(HeaderLevels, LhaLevelTest,
                         ::testing::Values(LevelCase{0, false}, LevelCase{1, false},
                                           LevelCase{2, false}, LevelCase{2, true}));

TEST(LhaArchiveTest, MembersInFoldersAreWrittenByBaseNameOnly) {
  if (!test::haveJlha()) GTEST_SKIP() << test::kNoJlhaMessage;
  test::TempDir dir;
  writeFile(dir / "src" / "sub" / "kol_ods.kd2", "kol");
  ASSERT_TRUE(test::makeLhaArchive(dir / "out" / "j0105.lzh", dir / "src", {"sub/kol_ods.kd2"}));

  LhaExtraction result = extractLhaArchive(dir / "out" / "j0105.lzh", dir / "out");
  EXPECT_EQ(result.extracted, std::vector<std::string>{"kol_ods.kd2"});
  EXPECT_EQ(readFile(dir / "out" / "kol_ods.kd2"), "kol");
  EXPECT_FALSE(fs::exists(dir / "out" / "sub"));
}

TEST(LhaArchiveTest, MemberNamedWithDotDotIsRefusedAndNothingLandsOutsideTheFolder) {
  if (!test::haveJlha()) GTEST_SKIP() << test::kNoJlhaMessage;
  test::TempDir dir;
  // jlha keeps "../" as a directory entry of the member.
  writeFile(dir / "src" / "evil.txt", "evil");
  writeFile(dir / "src" / "sub" / "Oz060105.txt", "good");
  ASSERT_TRUE(test::makeLhaArchive(dir / "box" / "lzh" / "OZ060105.lzh", dir / "src" / "sub",
                                   {"../evil.txt", "Oz060105.txt"}));

  LhaExtraction result =
      extractLhaArchive(dir / "box" / "lzh" / "OZ060105.lzh", dir / "box" / "lzh");
  EXPECT_FALSE(result.damaged);
  EXPECT_EQ(result.refused, std::vector<std::string>{"../evil.txt"});
  EXPECT_EQ(result.extracted, std::vector<std::string>{"Oz060105.txt"});
  EXPECT_FALSE(fs::exists(dir / "box" / "evil.txt"));
  EXPECT_FALSE(fs::exists(dir / "box" / "lzh" / "evil.txt"));
}

TEST(LhaArchiveTest, EscapingNamesOfEveryFormAreRefused) {
  test::TempDir dir;
  const fs::path absolute = dir / "abs.txt";
  const std::vector<std::string> names = {
      "../evil.txt",
      "..\\evil.txt",
      "a/../../evil.txt",
      "/evil.txt",
      "\\evil.txt",
      "C:evil.txt",
      absolute.string(),
      "..",
      // Control bytes anywhere in the stored name, a folder part included.
      std::string("a\0/b.txt", 8),
      std::string("b\0.txt", 6),
      "c\x1F/d.txt",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    writeFile(dir / "box" / "lzh" / "x.lzh", test::storedLhaArchive({{name, "evil"}}));
    auto before = test::snapshotFiles(dir.path());

    LhaExtraction result = extractLhaArchive(dir / "box" / "lzh" / "x.lzh", dir / "box" / "lzh");
    EXPECT_FALSE(result.damaged);
    EXPECT_FALSE(result.anythingExtracted());
    EXPECT_EQ(result.refused.size(), 1u);
    EXPECT_EQ(test::snapshotFiles(dir.path()), before);
  }
}

TEST(LhaArchiveTest, OnlyWantedMembersAreWrittenAndMembersAreCounted) {
  test::TempDir dir;
  std::vector<std::pair<std::string, std::string>> members;
  for (int i = 0; i < 30; ++i) members.emplace_back("junk" + std::to_string(i) + ".txt", "x");
  members.emplace_back("Oz060105.txt", oddsText());
  writeFile(dir / "a.lzh", test::storedLhaArchive(members));
  fs::create_directories(dir / "out");
  LhaExtraction result = extractLhaArchive(
      dir / "a.lzh", dir / "out", [](std::string_view name) { return name == "Oz060105.txt"; });
  EXPECT_TRUE(result.anythingExtracted());
  EXPECT_EQ(result.extracted, std::vector<std::string>{"Oz060105.txt"});
  EXPECT_EQ(result.passedOver, 30);
  EXPECT_EQ(test::snapshotFiles(dir / "out").size(), 1u);

  // More members than any odds archive holds: damaged, nothing written.
  members.assign(kMaxLhaMembers + 1, {"m.txt", "x"});
  writeFile(dir / "many.lzh", test::storedLhaArchive(members));
  LhaExtraction many = extractLhaArchive(dir / "many.lzh", dir / "many");
  EXPECT_TRUE(many.damaged);
  EXPECT_FALSE(fs::exists(dir / "many" / "m.txt"));
}

TEST(LhaArchiveTest, StoredNamesInCp932BecomeUtf8FileNames) {
  test::TempDir dir;
  // "ソ" ends in the byte '\', which must not split the name.
  writeFile(dir / "x.lzh", test::storedLhaArchive({{"\x83\x5C\x83\x74\x83\x67.txt", "a"}}));
  LhaExtraction result = extractLhaArchive(dir / "x.lzh", dir.path());
  EXPECT_EQ(result.extracted, std::vector<std::string>{"ソフト.txt"});
  EXPECT_EQ(readFile(dir / "ソフト.txt"), "a");
}

// A damaged archive writes nothing, not even the members before the damage,
// and leaves an older file of a member's name as it was.
TEST(LhaArchiveTest, DamagedArchivesWriteNothing) {
  if (!test::haveJlha()) GTEST_SKIP() << test::kNoJlhaMessage;
  test::TempDir dir;
  writeFile(dir / "src" / "Oz060105.txt", oddsText());
  writeFile(dir / "src" / "yosoodds.dat", "second member");
  ASSERT_TRUE(
      test::makeLhaArchive(dir / "good.lzh", dir / "src", {"Oz060105.txt", "yosoodds.dat"}, 1));
  const std::string good = readFile(dir / "good.lzh");
  const size_t secondHeader = good.find("-lh0-") - 2;  // yosoodds.dat is too short to compress

  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string flipped = good;
  flipped[good.size() - 3] ^= 0x20;  // a byte of the last member's data
  const std::vector<Case> cases = {
      {"cut inside the first header", good.substr(0, 20)},
      {"cut inside the first member's data", good.substr(0, secondHeader - 5)},
      {"cut inside the second header", good.substr(0, secondHeader + 10)},
      {"cut inside the last member's data", good.substr(0, good.size() - 4)},
      {"a data byte changed", flipped},
      {"junk after the first member", good.substr(0, secondHeader) + "junk junk junk junk junk"},
      {"not an archive", "Oz060105.txt is not here\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir out;
    writeFile(out / "Oz060105.txt", "older");
    writeFile(out / "OZ060105.lzh", c.bytes);
    LhaExtraction result = extractLhaArchive(out / "OZ060105.lzh", out.path());
    EXPECT_TRUE(result.damaged);
    EXPECT_FALSE(result.anythingExtracted());
    EXPECT_TRUE(result.extracted.empty());
    EXPECT_EQ(readFile(out / "Oz060105.txt"), "older");
    EXPECT_FALSE(fs::exists(out / "yosoodds.dat"));
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 2);
  }
}

TEST(LhaArchiveTest, ArchiveWithoutEndMarkIsComplete) {
  test::TempDir dir;
  std::string archive = test::storedLhaArchive({{"kol_ods.kd2", "kol"}});
  writeFile(dir / "j.lzh", archive.substr(0, archive.size() - 1));
  LhaExtraction result = extractLhaArchive(dir / "j.lzh", dir.path());
  EXPECT_FALSE(result.damaged);
  EXPECT_EQ(result.extracted, std::vector<std::string>{"kol_ods.kd2"});
}

TEST(LhaArchiveTest, MissingOrEmptyArchiveExtractsNothing) {
  test::TempDir dir;
  EXPECT_TRUE(extractLhaArchive(dir / "none.lzh", dir.path()).damaged);
  // An archive that cannot be looked up is not a missing one: the error
  // names the cause.
  try {
    (void)extractLhaArchive(dir / (std::string(300, 'n') + ".lzh"), dir.path());
    ADD_FAILURE() << "taken for a missing archive";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("名前が長すぎます"), std::string::npos);
  }
  writeFile(dir / "empty.lzh", "");
  LhaExtraction empty = extractLhaArchive(dir / "empty.lzh", dir.path());
  EXPECT_FALSE(empty.damaged);
  EXPECT_FALSE(empty.anythingExtracted());
}

TEST(LhaArchiveTest, FailedWriteThrowsAndKeepsTheOlderFile) {
  test::TempDir dir;
  writeFile(dir / "kol_ods.kd2", "older");
  writeFile(dir / "j.lzh", test::storedLhaArchive({{"kol_ods.kd2", "newer"}}));
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kWrite);
  EXPECT_THROW((void)extractLhaArchive(dir / "j.lzh", dir.path()), Error);
  EXPECT_EQ(readFile(dir / "kol_ods.kd2"), "older");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace orvalle::output
