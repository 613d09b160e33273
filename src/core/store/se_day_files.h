#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "store/fixed_record_file.h"

namespace orvalle::store {

// The SE day files of one day, read as files of fixed SE records and opened
// once per racecourse while the object lives.
class SeDayFiles {
 public:
  SeDayFiles(std::filesystem::path dataFolder, std::string stem);

  // The SE day file of a racecourse code (seDayFilePath), or nullptr when
  // the day has none or the racecourse names no file. Throws orvalle::Error
  // when the file exists but cannot be opened.
  const FixedRecordFile* of(std::string_view racecourseCode);

 private:
  std::filesystem::path m_dataFolder;
  std::string m_stem;
  std::map<std::string, std::optional<FixedRecordFile>, std::less<>> m_files;
};

}  // namespace orvalle::store
