#include "model/record_table.h"

#include <algorithm>

#include "store/error.h"

namespace orvalle::model {

RecordTable::RecordTable(size_t recordCount, size_t recordSize)
    : m_count(recordCount),
      m_size(recordSize),
      m_bytes(new char[recordCount * recordSize]),
      m_assigned(recordCount, false),
      m_blank(recordSize, ' ') {}

size_t RecordTable::checked(size_t index) const {
  if (index >= m_count) {
    throw Error("範囲外の番号です: " + std::to_string(index) + " (0-" +
                std::to_string(m_count - 1) + ")");
  }
  return index * m_size;
}

std::string_view RecordTable::at(size_t index) const {
  const size_t offset = checked(index);
  if (!m_assigned[index]) return m_blank;
  return std::string_view(m_bytes.get() + offset, m_size);
}

void RecordTable::assign(size_t index, std::string_view image) {
  size_t offset = checked(index);
  size_t n = std::min(image.size(), m_size);
  std::copy_n(image.data(), n, m_bytes.get() + offset);
  std::fill_n(m_bytes.get() + offset + n, m_size - n, ' ');
  m_assigned[index] = true;
}

void RecordTable::blankFill() { std::fill(m_assigned.begin(), m_assigned.end(), false); }

}  // namespace orvalle::model
