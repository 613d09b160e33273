#include "analysis/name_table.h"

#include "analysis/comparison_rule.h"

namespace orvalle::analysis {

int NameTable::intern(std::string_view name18) {
  if (isBlankName(name18)) return kNone;
  auto found = m_ids.find(name18);
  if (found != m_ids.end()) return found->second;
  const int id = static_cast<int>(m_ids.size());
  m_ids.emplace(std::string(name18), id);
  return id;
}

int NameTable::find(std::string_view name18) const {
  if (isBlankName(name18)) return kNone;
  auto found = m_ids.find(name18);
  return found == m_ids.end() ? kNone : found->second;
}

}  // namespace orvalle::analysis
