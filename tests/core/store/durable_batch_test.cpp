// Durable batches and the file systems under them: what a commit writes and
// syncs, what it refuses, what a failure leaves, and the power-loss model
// the crash tests rely on.
#include "store/durable_batch.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "store/atomic_file.h"
#include "store/file_system.h"
#include "store/memory_file_system.h"
#include "store/text_file.h"

namespace orvalle::store {
namespace {

using Call = FaultyFileSystem::Call;
using Files = std::map<std::string, std::string>;

class DurableBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_memory.putFile("/home/a.txt", "old a");
    m_memory.putFile("/home/b.txt", "old b");
  }
  Files files() const { return m_memory.snapshot("/home"); }

  MemoryFileSystem m_memory;
  FaultyFileSystem m_faulty{m_memory};
  ScopedFileSystem m_installed{m_faulty};
};

TEST_F(DurableBatchTest, ACommitFlushesOnceSyncsEachFolderOnceAndSkipsUnchangedFiles) {
  DurableBatch batch;
  writeFileAtomicallyOrThrow("/home/a.txt", "new a");
  writeFileAtomicallyOrThrow("/home/b.txt", "old b");  // unchanged
  writeFileAtomicallyOrThrow("/home/c.txt", "new c");
  writeFileAtomicallyOrThrow("/home/c.txt", "newer c");  // the last stage counts
  // Staged writes are seen by the readers before the commit, not on disk.
  EXPECT_EQ(readFileBytes("/home/c.txt"), "newer c");
  EXPECT_TRUE(pathExists("/home/c.txt"));
  EXPECT_EQ(listFolder("/home").size(), 3u);
  EXPECT_EQ(m_memory.snapshot("/home").count("c.txt"), 0u);

  batch.commit();
  EXPECT_EQ(batch.filesWritten(), 2);
  EXPECT_EQ(m_faulty.syncs(), 2);  // one flush, one folder
  EXPECT_EQ(files(), (Files{{"a.txt", "new a"}, {"b.txt", "old b"}, {"c.txt", "newer c"}}));

  // The same contents again: nothing written, nothing synced.
  writeFileAtomicallyOrThrow("/home/a.txt", "new a");
  EXPECT_EQ(m_faulty.syncs(), 2);
}

TEST_F(DurableBatchTest, ABatchLeftWithoutCommitOrJoinedToAnotherWritesNothingItself) {
  {
    DurableBatch batch;
    writeFileAtomicallyOrThrow("/home/a.txt", "lost");
  }
  EXPECT_EQ(readFileBytes("/home/a.txt"), "old a");

  DurableBatch outer;
  {
    DurableBatch inner;
    writeFileAtomicallyOrThrow("/home/a.txt", "joined");
    inner.commit();
  }
  EXPECT_EQ(m_memory.snapshot("/home").at("a.txt"), "old a");
  outer.commit();
  EXPECT_EQ(m_memory.snapshot("/home").at("a.txt"), "joined");
}

TEST_F(DurableBatchTest, AFailedCommitLeavesEveryFileOldOrNewAndNoTemporaryFile) {
  struct Case {
    const char* name;
    Call call;
    int nth;
    int code;
    const char* cause;
  };
  const Case cases[] = {
      {"second create, disk full", Call::kCreate, 2, ENOSPC, "ディスクの空きが足りません"},
      {"first append", Call::kAppend, 1, EIO, "入出力エラーです"},
      {"flush", Call::kSync, 1, EIO, "入出力エラーです"},
      {"second rename", Call::kRename, 2, EACCES, "アクセスが拒否されました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_faulty.failCall(c.call, c.nth, c.code);
    DurableBatch batch;
    writeFileAtomicallyOrThrow("/home/a.txt", std::string("a ") + c.name);
    writeFileAtomicallyOrThrow("/home/b.txt", std::string("b ") + c.name);
    try {
      batch.commit();
      ADD_FAILURE() << "the commit succeeded";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.cause), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find("/home/"), std::string::npos) << error.what();
    }
    const Files after = files();
    EXPECT_EQ(after.size(), 2u);  // no temporary file left
    for (const auto& [name, content] : after) {
      EXPECT_TRUE(content.starts_with("old") || content.ends_with(c.name)) << content;
    }
    m_faulty.revive();
  }
}

TEST_F(DurableBatchTest, AReadOnlyFileFailsTheCommitBeforeAnythingIsWritten) {
  m_memory.setMode("/home/b.txt", 0444);
  const Files before = files();
  DurableBatch batch;
  writeFileAtomicallyOrThrow("/home/a.txt", "new a");
  writeFileAtomicallyOrThrow("/home/b.txt", "new b");
  EXPECT_THROW(
      {
        try {
          batch.commit();
        } catch (const Error& error) {
          EXPECT_NE(std::string(error.what()).find("/home/b.txt"), std::string::npos);
          throw;
        }
      },
      Error);
  EXPECT_EQ(files(), before);
}

TEST(MemoryFileSystemTest, APowerLossKeepsOnlyWhatWasSynced) {
  MemoryFileSystem memory;
  memory.putFolder("/d");
  std::filesystem::path synced, unsynced;
  {
    auto file = memory.createUnique("/d", "s", 0644, synced);
    file->append("data");
    file->sync();
  }
  memory.syncFolder("/d");  // the name of the synced file is durable
  {
    auto file = memory.createUnique("/d", "u", 0644, unsynced);
    file->append("data");
    file->sync();  // data durable, its name not
  }
  memory.rename(synced, "/d/renamed");  // a rename not yet durable
  memory.loseUnsyncedWrites();
  EXPECT_EQ(memory.snapshot("/d"), (Files{{synced.filename().string(), "data"}}));

  // A file system sync makes everything durable.
  memory.rename(synced, "/d/renamed");
  memory.putFolder("/d/new");
  memory.syncAll("/");
  memory.loseUnsyncedWrites(7);
  EXPECT_EQ(memory.snapshot("/d"), (Files{{"new/", ""}, {"renamed", "data"}}));
}

}  // namespace
}  // namespace orvalle::store
