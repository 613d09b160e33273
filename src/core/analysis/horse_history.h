#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/name_table.h"

namespace orvalle::analysis {

// The past-run file of one horse, read whole and parsed once per command:
// for every record (826 bytes, a short last record padded) the fields the
// race comparison reads. Entry names are first kept as texts (parse, which
// needs no shared state and may run on any thread) and then turned into ids
// of the command's name table (internNames, one thread at a time).
class HorseHistory {
 public:
  struct Run {
    int date = 0;        // yyyymmdd
    int position = 0;    // the horse's own finishing position
    int time = 0;        // own race time, tenths
    int weight = 0;      // own weight carried, 0.1 kg
    int firstEntry = 0;  // index of entry 1 in entries()
    int runners = 0;     // registered runners, 0..18
  };
  struct Entry {
    int name = NameTable::kNone;  // id; kNone for a blank name
    int time = 0;                 // tenths
    int weight = 0;               // 0.1 kg
  };

  // Parses the bytes of a past-run file, which the history keeps until its
  // names are interned (the entry names point into them, so a history is
  // neither copied nor moved).
  explicit HorseHistory(std::string fileBytes);
  HorseHistory(const HorseHistory&) = delete;
  HorseHistory& operator=(const HorseHistory&) = delete;

  // Interns the names of every entry. Call once, before the ids are read.
  void internNames(NameTable& names);

  const std::vector<Run>& runs() const { return m_runs; }
  const std::vector<Entry>& entries() const { return m_entries; }

 private:
  std::string m_bytes;
  std::vector<Run> m_runs;
  std::vector<Entry> m_entries;
  std::vector<std::string_view> m_entryNames;  // into m_bytes, until interned
};

}  // namespace orvalle::analysis
