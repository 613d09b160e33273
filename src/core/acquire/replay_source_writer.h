#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "store/file_system.h"

namespace orvalle::acquire {

// Writes a replay source folder (replay_jv_link.h) from a live transfer: the
// data files of stored data under RACEDIFF/ or SETUP/, the real-time results
// under 0B12/, and the timestamp the next transfer starts from.
//
// A data file is written under a temporary name, synced and renamed into
// place when it is complete, so the folder only ever holds complete files;
// a file that is abandoned (failure, cancel) leaves nothing. The temporary
// files of a killed run carry the marker of store/atomic_file.h, begin with
// "." so that no reader takes them for data, and are removed when the next
// writer is made. Throws orvalle::Error (FileError) on any file failure.
class ReplaySourceWriter {
 public:
  // The file in the source folder that keeps the timestamp of the newest
  // data file written ("yyyymmddhhnnss" and CR LF).
  static constexpr std::string_view kLastTimestampFile = "jvbridge-lasttime.txt";

  explicit ReplaySourceWriter(std::filesystem::path sourceFolder);
  ~ReplaySourceWriter();
  ReplaySourceWriter(const ReplaySourceWriter&) = delete;
  ReplaySourceWriter& operator=(const ReplaySourceWriter&) = delete;

  const std::filesystem::path& folder() const { return m_folder; }

  // Starts the file `name` in the subfolder `subfolder` ("RACEDIFF",
  // "SETUP", "0B12"), made when missing. A file already being written is
  // abandoned first.
  void begin(std::string_view subfolder, std::string_view name);
  bool writing() const { return m_file != nullptr; }
  // Appends bytes to the file being written.
  void append(std::string_view bytes);
  // Syncs the file and puts it in place under its name, replacing an older
  // file of that name; returns its path.
  std::filesystem::path commit();
  // Drops the file being written, if any.
  void abandon() noexcept;

  // The kept timestamp; nullopt when none is kept (or it is not 14 digits).
  std::optional<std::string> lastTimestamp() const;
  // Keeps `timestamp` (14 digits) for the next transfer, atomically.
  void saveLastTimestamp(std::string_view timestamp);

 private:
  std::filesystem::path m_folder;
  std::unique_ptr<store::WritableFile> m_file;
  std::filesystem::path m_temporary;
  std::filesystem::path m_target;
};

// True for 14 digits, the form of a JV-Link file timestamp.
bool isFileTimestamp(std::string_view text);

// The name under which a data file that the component reports as `reported`
// is kept, for a transfer whose newest file time is `transferTimestamp`:
// - a name already in the replay form (14 digits, "_", more) stays as it is;
// - otherwise the 14-digit time the name ends with (JV-Data file names end
//   with the file's creation time before ".jvd"), else the transfer's time,
//   then "_" and the name.
// Characters that a file name cannot hold (path separators, control bytes,
// the ones Windows refuses) become "_", so a name never leaves its folder.
std::string replayFileName(std::string_view reported, std::string_view transferTimestamp);

}  // namespace orvalle::acquire
