#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvalle::analysis {

// Interns the 18-byte horse names of one command to small integer ids, so
// that past runs are joined by integers instead of texts. Two names get the
// same id exactly when all their bytes are equal. Blank names (empty after
// trimming) are never interned. Not safe for concurrent use; lookups through
// a const table may run in parallel.
class NameTable {
 public:
  static constexpr int kNone = -1;

  // The id of the name, added when new; kNone for a blank name.
  int intern(std::string_view name18);
  // The id of the name; kNone when it is blank or not interned.
  int find(std::string_view name18) const;

  size_t size() const { return m_ids.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, int, Hash, std::equal_to<>> m_ids;
};

}  // namespace orvalle::analysis
