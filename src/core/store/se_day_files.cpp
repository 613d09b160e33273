#include "store/se_day_files.h"

#include <utility>

#include "store/day_file_names.h"
#include "store/record.h"

namespace orvalle::store {

SeDayFiles::SeDayFiles(std::filesystem::path dataFolder, std::string stem)
    : m_dataFolder(std::move(dataFolder)), m_stem(std::move(stem)) {}

const FixedRecordFile* SeDayFiles::of(std::string_view racecourseCode) {
  auto it = m_files.find(racecourseCode);
  if (it == m_files.end()) {
    std::optional<FixedRecordFile> file;
    if (auto path = seDayFilePath(m_dataFolder, m_stem, racecourseCode)) {
      file = FixedRecordFile::open(*path, kSeRecordLength);
    }
    it = m_files.emplace(std::string(racecourseCode), std::move(file)).first;
  }
  return it->second ? &*it->second : nullptr;
}

}  // namespace orvalle::store
