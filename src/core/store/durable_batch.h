#pragma once

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvalle::store {

// The writes of one step (a data file of an acquisition, the past-run files
// of a day, an analysis, an import), committed together: every new content
// is written to a temporary file beside its target, one flush makes them
// durable, the renames follow, and one sync of each folder touched (or of the
// file system, when there are more than two) makes the renames durable. After a crash at any moment
// each file holds its old or its new content. A file whose content is unchanged is not rewritten.
//
// While a batch lives it is its thread's active batch: writeFileAtomically
// stages into it instead of writing, and the readers of the store
// (readFileBytes, FixedRecordFile, pathExists, listFolder) see the staged
// contents. A batch made while another is active joins it: its commit does
// nothing and the outer batch commits everything. A batch destroyed without
// commit writes nothing.
class DurableBatch {
 public:
  DurableBatch();
  ~DurableBatch();
  DurableBatch(const DurableBatch&) = delete;
  DurableBatch& operator=(const DurableBatch&) = delete;

  // The thread's active batch, or nullptr.
  static DurableBatch* active();

  // Stages the new content of `target`; a later stage of the same target
  // replaces it.
  void stage(const std::filesystem::path& target, std::string content);

  // The staged content of `path`, or nullptr.
  const std::string* staged(const std::filesystem::path& path) const;
  std::vector<std::filesystem::path> stagedPaths() const;

  // Writes everything staged, as described above, and ends the batch: later
  // writes of the thread are done at once (or go to an outer batch).
  // Checks every target first: a read-only file fails the commit before
  // anything is written. Throws FileError (or orvalle::Error) naming the
  // file; a failure before the renames leaves every file as it was.
  void commit();

  // The number of files the commit of this batch wrote (unchanged ones not
  // counted).
  int filesWritten() const { return m_filesWritten; }

 private:
  struct Staged {
    std::filesystem::path target;
    std::string content;
  };

  // Stops being the thread's active batch.
  void end();

  DurableBatch* m_outer = nullptr;  // the batch this one joined
  std::vector<Staged> m_staged;
  std::unordered_map<std::filesystem::path::string_type, size_t> m_index;  // of m_staged, by target
  int m_filesWritten = 0;
};

}  // namespace orvalle::store
