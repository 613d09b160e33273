#include "model/record_table.h"

#include <algorithm>

#include "store/error.h"

namespace orvalle::model {

RecordTable::RecordTable(size_t recordCount, size_t recordSize)
    : m_count(recordCount), m_size(recordSize), m_bytes(recordCount * recordSize, ' ') {}

size_t RecordTable::checked(size_t index) const {
  if (index >= m_count) {
    throw Error("範囲外の番号です: " + std::to_string(index) + " (0-" +
                std::to_string(m_count - 1) + ")");
  }
  return index * m_size;
}

std::string_view RecordTable::at(size_t index) const {
  return std::string_view(m_bytes).substr(checked(index), m_size);
}

void RecordTable::assign(size_t index, std::string_view image) {
  size_t offset = checked(index);
  size_t n = std::min(image.size(), m_size);
  std::copy_n(image.data(), n, m_bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  std::fill_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset + n), m_size - n, ' ');
}

void RecordTable::blankFill() { std::fill(m_bytes.begin(), m_bytes.end(), ' '); }

}  // namespace orvalle::model
