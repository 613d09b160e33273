#include "analysis/horse_history.h"

#include "analysis/compared_run.h"

namespace orvalle::analysis {

HorseHistory::HorseHistory(std::string fileBytes) : m_bytes(std::move(fileBytes)) {
  const std::vector<std::string_view> records = run::splitRecords(m_bytes);
  m_runs.reserve(records.size());
  for (std::string_view record : records) {
    Run parsed;
    parsed.date = run::date(record);
    parsed.position = run::ownPosition(record);
    parsed.time = run::ownTime(record);
    parsed.weight = run::ownWeight(record);
    parsed.firstEntry = static_cast<int>(m_entries.size());
    parsed.runners = run::registeredRunners(record);
    for (int k = 1; k <= parsed.runners; ++k) {
      m_entries.push_back(
          {NameTable::kNone, run::entryTime(record, k), run::entryWeight(record, k)});
      m_entryNames.push_back(run::entryName(record, k));
    }
    m_runs.push_back(parsed);
  }
}

void HorseHistory::internNames(NameTable& names) {
  for (size_t i = 0; i < m_entryNames.size(); ++i)
    m_entries[i].name = names.intern(m_entryNames[i]);
  m_entryNames.clear();
  m_entryNames.shrink_to_fit();
  m_bytes.clear();
  m_bytes.shrink_to_fit();
}

}  // namespace orvalle::analysis
